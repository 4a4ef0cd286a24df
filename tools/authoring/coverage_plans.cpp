// Noting the first screen of each unit during the search, and playing the
// ways to them afterwards through a PlaySession, with the plan recorder
// writing what they show.
#include "tools/authoring/coverage_plans.h"

#include "murmex/conversation_flow.h"
#include "tools/analysis/situation_store.h"
#include "tools/analysis/unit_coverage.h"
#include "tools/authoring/plan_recorder.h"

#include <algorithm>
#include <numeric>

namespace murmex::tool {

namespace {

constexpr int32_t NO_STEP = -1;

bool isOpening(const TalkUnit& unit) {
    // Only state 0 is ever started in.
    return unit.question[0] == 0 && unit.state == 0;
}

// The units chosen from the start of a new game to take `unit` in stored
// situation `situation`: the way the search first went there.
std::vector<int32_t> wayTo(const SituationStore& store, uint32_t situation, int32_t unit) {
    std::vector<int32_t> way;
    if (situation == NO_SITUATION) {
        return way;
    }
    way.push_back(unit);
    for (uint32_t index = situation; index != 0; index = store.record(index).parent) {
        way.push_back(store.record(index).unit);
    }
    std::reverse(way.begin(), way.end());
    return way;
}

// The offered question behind `unit`, or -1.
int32_t positionOf(const ConversationView& view, int32_t unit) {
    for (int32_t position = 0; position < view.questionCount; ++position) {
        if (view.unitIndices[position] == unit) {
            return position;
        }
    }
    return -1;
}

// Plays the way from a new game, recording it and noting what it shows.
bool playWay(const std::vector<int32_t>& way, PlaySession& session, const std::string& script,
             UnitCoverage& coverage, std::string& text) {
    const ConversationEngine& engine = *session.script().engine;
    if (!session.restart() || !session.start(START_CHARACTER)) {
        return false;
    }
    PlanRecorder recorder("murmex explore", script);
    recorder.started(session, START_CHARACTER);
    coverage.noteScreen(engine, session.shownView());
    for (const int32_t unit : way) {
        const int32_t position = positionOf(session.shownView(), unit);
        if (position < 0) {
            return false;
        }
        recorder.choosing(session, position);
        coverage.noteApplied(session.shownView().characterIndex, unit);
        session.choose(position);
        recorder.chose(session);
        if (session.failed()) {
            return false;
        }
        coverage.noteScreen(engine, session.shownView());
    }
    text = recorder.text();
    return true;
}

} // namespace

CoveragePlanner::CoveragePlanner(const ConversationEngine& engine) {
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        const Character* character = engine.characters[c].get();
        const int32_t units = character ? character->unitCount : 0;
        firstStep.emplace_back(static_cast<size_t>(units), NO_STEP);
        int32_t openings = 0;
        for (int32_t u = 0; u < units; ++u) {
            openings += isOpening(*character->units[u]) ? 1 : 0;
        }
        openingsLeft.push_back(openings);
        unitsLeft += units;
    }
}

void CoveragePlanner::claim(int32_t character, int32_t unit, const Step& step, bool& stepKept) {
    int32_t& first = firstStep[character][unit];
    if (first != NO_STEP) {
        return;
    }
    if (!stepKept) {
        steps.push_back(step);
        stepKept = true;
    }
    first = static_cast<int32_t>(steps.size() - 1);
    --unitsLeft;
}

void CoveragePlanner::watch(uint32_t situation, int32_t unit, const ConversationEngine& engine,
                            const ConversationView& view) {
    const int32_t c = view.characterIndex;
    if (unitsLeft == 0 || c < 0 || c >= static_cast<int32_t>(firstStep.size())) {
        return;
    }
    const Step step{situation, unit};
    bool stepKept = false;
    if (openingsLeft[c] > 0) {
        const int32_t opening = openingAnswerShown(*engine.characters[c], view.answer);
        if (opening >= 0 && firstStep[c][opening] == NO_STEP) {
            --openingsLeft[c];
            claim(c, opening, step, stepKept);
        }
    }
    for (int32_t position = 0; position < view.questionCount; ++position) {
        claim(c, view.unitIndices[position], step, stepKept);
    }
}

bool CoveragePlanner::plan(const ExploreReport& report, PlaySession& session,
                           const std::string& script, CoveragePlans& plans,
                           std::string& error) const {
    const SituationStore& store = *report.store;
    // The units each step showed first.
    std::vector<std::vector<UnitReference>> shownFirst(steps.size());
    for (size_t c = 0; c < firstStep.size(); ++c) {
        for (size_t u = 0; u < firstStep[c].size(); ++u) {
            if (firstStep[c][u] != NO_STEP) {
                shownFirst[firstStep[c][u]].push_back(
                    {static_cast<int32_t>(c), static_cast<int32_t>(u)});
            }
        }
    }
    const auto depth = [&](const Step& step) {
        return step.situation == NO_SITUATION ? 0 : store.record(step.situation).depth + 1;
    };
    std::vector<size_t> order(steps.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return depth(steps[a]) > depth(steps[b]); });
    UnitCoverage coverage(*session.script().engine);
    const auto allPlayed = [&](size_t s) {
        return std::all_of(shownFirst[s].begin(), shownFirst[s].end(), [&](const UnitReference& u) {
            return coverage.played(u.character, u.unit);
        });
    };
    for (const size_t s : order) {
        if (allPlayed(s)) {
            continue;
        }
        const std::vector<int32_t> way = wayTo(store, steps[s].situation, steps[s].unit);
        std::string text;
        if (!playWay(way, session, script, coverage, text) || !allPlayed(s)) {
            error = "a way the search took could not be played again";
            return false;
        }
        plans.texts.push_back(std::move(text));
        plans.steps += way.size();
    }
    plans.unitsPlayed = coverage.playedCount();
    return true;
}

} // namespace murmex::tool
