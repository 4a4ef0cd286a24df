// The breadth-first search over situations. Each step applies a stored
// situation to the engine and the view as a game state (the character talked
// to, its state, the memory and the offered questions), lets the player's own
// flow apply one offered question, and reads the situation that follows. The
// rules of a step are the engine's alone. A failure is kept as indices; its
// words and its path are made only when it is described.
#include "tools/analysis/script_explorer.h"

#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"
#include "murmex/runtime_messages.h"
#include "text/display_text.h"
#include "tools/analysis/memory_weight.h"
#include "tools/analysis/situation_store.h"
#include "tools/analysis/unit_coverage.h"
#include "tools/analysis/unit_text.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

namespace murmex::tool {

namespace {

// How much of a question a failure's text quotes; the path quotes it whole.
constexpr size_t QUOTED_CHARACTERS = 40;
using runtime_messages::CHARACTER_NOT_FOUND;

std::string quoted(const char* text) {
    return "\"" + shortText(text, QUOTED_CHARACTERS) + "\"";
}

// The memory bound per failure the README states.
static_assert(sizeof(FailureRecord) <= 24);

// A failure's bit among the kinds a talk unit has already failed with.
uint8_t kindBit(FailureKind kind) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(kind));
}

class Explorer {
  public:
    Explorer(ConversationEngine& engine, const ScriptPlaces& lines, const ExploreLimits& limits,
             const StepWatcher& watcher, const GoalSearch* goals)
        : engine(engine), lines(lines), limits(limits), watcher(watcher), flow(engine, view),
          goals(goals != nullptr && !goals->goals.empty() ? goals : nullptr) {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const int32_t units = engine.characters[c] ? engine.characters[c]->unitCount : 0;
            reached[c].assign(units, false);
            failedKinds[c].assign(units, 0);
        }
    }

    ExploreReport run() {
        situationState.characterCount = engine.characterCount;
        if (goals != nullptr && goals->from != nullptr) {
            // A conversation under way; the first expansion puts the
            // situation's own memory in place.
            if (goals->from->characterIndex < 0) {
                return finish();
            }
            apply(*goals->from);
            for (int32_t c = 0; c < engine.characterCount; ++c) {
                changedCharacters.push_back(c);
            }
        } else if (!startGame()) {
            return finish();
        }
        const SituationKey key{view.characterIndex, engine.characters[view.characterIndex]->state,
                               store.layouts().numberOf(engine.memory, names)};
        addSituation(key, 0, 0, 0);
        for (uint32_t index = 0; index < store.size(); ++index) {
            expand(index);
        }
        return finish();
    }

  private:
    // The game begins with an empty memory, every character in state 0.
    bool startGame() {
        apply(situationState);
        memoryIsSituations = true;
        if (!flow.startGame()) {
            noteStartFailure(NO_SITUATION, 0);
            return false;
        }
        changedCharacters.push_back(view.characterIndex);
        noteInitialAnswer();
        watch(NO_SITUATION, 0);
        return true;
    }

    // Stores the situation the engine and the view are in.
    uint32_t addSituation(const SituationKey& key, uint32_t parent, uint32_t depth, uint16_t unit) {
        const uint32_t index = store.add(key, parent, depth, unit);
        pathMoney.push_back(engine.memory.money);
        if (goals != nullptr) {
            graph.addSituation(anyGoalMet(goals->goals, engine.memory, view.characterIndex));
        }
        return index;
    }

    void noteStep(uint32_t to, int32_t unit) {
        if (goals != nullptr) {
            graph.addStep(to, static_cast<uint16_t>(unit));
        }
    }

    void expand(uint32_t index) {
        if (goals != nullptr) {
            graph.expand(index);
        }
        const SituationRecord record = store.record(index);
        // The last situation's character leaves its state, this one's takes its own.
        changedCharacters.push_back(situationState.characterIndex);
        changedCharacters.push_back(record.character);
        store.readGameState(index, situationState);
        if (memoryLayout == UINT32_MAX) {
            store.layouts().restore(record.layout, names, situationState.memory);
            memoryLayout = record.layout;
            memoryIsSituations = false;
        } else if (record.layout != memoryLayout) {
            // Breadth first, neighbours often share a layout, or differ in a
            // variable or two: only the slots that differ are written, in the
            // engine's memory too while it holds the same variables.
            if (memoryIsSituations) {
                store.layouts().change(memoryLayout, record.layout, names, engine.memory);
            }
            store.layouts().change(memoryLayout, record.layout, names, situationState.memory);
            memoryLayout = record.layout;
        }
        // Nothing tests money, so it is no part of a situation; each carries
        // the money of the way it was first reached.
        situationState.memory.money = pathMoney[index];
        // The view as applying the state leaves it: the character, no answer
        // and no questions.
        ConversationView fresh;
        fresh.characterIndex = situationState.characterIndex;
        restore(fresh);
        // The questions this situation offers become part of it, so that each
        // one is tried from the same screen.
        situationState.questionCount = engine.characters[record.character]->listQuestions(
            engine.memory, view.questions, view.unitIndices, MAX_QUESTIONS);
        std::copy_n(view.unitIndices, situationState.questionCount, situationState.questionUnits);
        // The view as applying the state with its questions would leave it.
        view.questionCount = situationState.questionCount;
        situationView = view;
        if (record.depth >= limits.maxDepth) {
            cut(CutOff::Depth);
            return;
        }
        for (int32_t position = 0; position < situationState.questionCount; ++position) {
            const int32_t unit = situationState.questionUnits[position];
            reached[record.character][unit] = true;
            restore(situationView);
            // The memory now holds the situation's variables; it counts each
            // write, so an unchanged count means they are still the same.
            const uint32_t changesBefore = engine.memory.variableChanges();
            const StepOutcome outcome = flow.choose(position);
            const bool variablesChanged = engine.memory.variableChanges() != changesBefore;
            memoryIsSituations = !variablesChanged;
            // A step changes the state of the character talked to and of the
            // one it starts, which the view then shows; no other.
            changedCharacters.push_back(record.character);
            changedCharacters.push_back(view.characterIndex);
            if (outcome.kind == StepKind::Failed) {
                noteFailure(index, record.character, unit, outcome);
                continue;
            }
            if (outcome.kind != StepKind::Continued) {
                noteInitialAnswer();
            }
            noteMoney(index, record.character, unit);
            watch(index, unit);
            // Most questions leave the memory alone; only a changed one is read
            // slot by slot.
            // Once the store is full a layout never seen means a situation
            // never seen, and it is not kept: the search only finishes the
            // situations it has.
            const CutOff full = fullness();
            const uint32_t layout =
                variablesChanged
                    ? store.layouts().numberOf(engine.memory, names, full == CutOff::None)
                    : record.layout;
            if (layout == NEW_LAYOUT) {
                cut(full);
                continue;
            }
            const SituationKey key{view.characterIndex,
                                   engine.characters[view.characterIndex]->state, layout};
            const int64_t found = store.find(key);
            if (found >= 0) {
                noteStep(static_cast<uint32_t>(found), unit);
                continue;
            }
            if (full != CutOff::None) {
                cut(full);
            } else {
                noteStep(addSituation(key, index, record.depth + 1, static_cast<uint16_t>(unit)),
                         unit);
            }
        }
    }

    // Puts a game state into the engine and the view. Every state applied here
    // was built from this engine's script, so a refusal is a fault of ours.
    void apply(const GameState& state) {
        const int32_t result = applyGameState(state, engine, view);
        if (result != GAME_STATE_OK) {
            throw std::logic_error(std::string("explorer: ") + gameStateMessage(result));
        }
    }

    // Puts the engine into the expanded situation, and the view into `shown`,
    // as applying the situation's game state would; only what may differ is
    // written. The memory, some 13 KiB, is copied only when its variables are
    // not the situation's, and only the characters noted as changed get their
    // states back: the others hold theirs already.
    void restore(const ConversationView& shown) {
        if (memoryIsSituations) {
            engine.memory.money = situationState.memory.money;
        } else {
            engine.memory = situationState.memory;
            memoryIsSituations = true;
        }
        for (const int32_t c : changedCharacters) {
            if (c >= 0 && c < situationState.characterCount && engine.characters[c] != nullptr) {
                engine.characters[c]->state = situationState.states[c];
            }
        }
        changedCharacters.clear();
        view = shown;
    }

    void watch(uint32_t situation, int32_t unit) {
        if (watcher) {
            watcher(situation, unit, engine, view);
        }
    }

    void cut(CutOff reason) {
        if (cutOff == CutOff::None) {
            cutOff = reason;
        }
    }

    // What the memory limit weighs: the stored situations with their
    // layouts and tables, the kept failures, the money of each situation and
    // the names of the variables, each vector with its next growth.
    uint64_t bytes() const {
        return store.bytes() + grownTableBytes(failures.capacity() * sizeof(FailureRecord)) +
               grownTableBytes(pathMoney.capacity() * sizeof(int32_t)) + names.bytes() +
               failedStarts.size() * MAP_NODE_BYTES + (goals != nullptr ? graph.bytes() : 0);
    }

    // Why no further situation may be stored; None while one may.
    CutOff fullness() const {
        if (store.size() >= limits.maxSituations) {
            return CutOff::Situations;
        }
        return bytes() >= limits.maxBytes ? CutOff::Memory : CutOff::None;
    }

    // A start shows the initial answer of one unit.
    void noteInitialAnswer() {
        // Most starts show an answer noted before; the search is spared then.
        const char*& noted = lastNotedAnswer[view.characterIndex];
        if (view.answer == noted) {
            return;
        }
        noted = view.answer;
        const int32_t u = openingAnswerShown(*engine.characters[view.characterIndex], view.answer);
        if (u >= 0) {
            reached[view.characterIndex][u] = true;
        }
    }

    // A step that took the money from zero or more below zero; one taken
    // lower while it is already below follows from the first.
    void noteMoney(uint32_t index, int32_t c, int32_t u) {
        const int32_t money = engine.memory.money;
        if (pathMoney[index] >= 0 && money < 0 && isNew(c, u, FailureKind::MoneyBelowZero)) {
            keep({"", index, money, static_cast<uint16_t>(u), static_cast<uint8_t>(c),
                  FailureKind::MoneyBelowZero});
        }
    }

    // True the first time a talk unit fails this way.
    bool isNew(int32_t c, int32_t u, FailureKind kind) {
        uint8_t& kinds = failedKinds[c][u];
        const bool seen = (kinds & kindBit(kind)) != 0;
        kinds |= kindBit(kind);
        return !seen;
    }

    // Counts a new failure, and keeps it while the memory limit allows.
    void keep(const FailureRecord& failure) {
        ++failuresFound;
        if (bytes() >= limits.maxBytes) {
            cut(CutOff::Memory);
            return;
        }
        failures.push_back(failure);
    }

    // Starting a character failed: "Intro" at the beginning of the game or
    // after a conversation ended, or the character a hand-over named. The
    // question `unit` of the situation led there, unless it is NO_SITUATION.
    void noteStartFailure(uint32_t situation, int32_t unit) {
        const uint16_t unitIndex = static_cast<uint16_t>(unit);
        if (std::strcmp(engine.errorMessage, CHARACTER_NOT_FOUND) == 0) {
            // Outside a hand-over only "Intro" is looked up, and once it has
            // been found it stays: this is the very first start.
            if (!noIntroFound) {
                noIntroFound = true;
                keep({engine.errorMessage, situation, 0, unitIndex, 0, FailureKind::NoIntro});
            }
            return;
        }
        const int32_t started = view.characterIndex;
        if (failedStarts.emplace(started, engine.errorMessage).second) {
            keep({engine.errorMessage, situation, 0, unitIndex, static_cast<uint8_t>(started),
                  FailureKind::StartFails});
        }
    }

    void noteFailure(uint32_t index, int32_t c, int32_t u, const StepOutcome& outcome) {
        const Character& character = *engine.characters[c];
        FailureRecord failure{
            engine.errorMessage, index, 0, static_cast<uint16_t>(u), static_cast<uint8_t>(c),
            FailureKind::DeadEnd};
        if (outcome.result != RESULT_FAILED) {
            // The step itself went through; starting the next character failed.
            if (std::strcmp(engine.errorMessage, CHARACTER_NOT_FOUND) != 0) {
                noteStartFailure(index, u);
                return;
            }
            // findCharacter leaves the view alone: its answer is the name.
            failure.kind = FailureKind::MissingCharacter;
            failure.text = view.answer;
        } else if (view.answer == nullptr) {
            failure.kind = FailureKind::CannotApply;
        } else if (character.state == RESULT_FAILED) {
            failure.kind = FailureKind::NextState99;
        } else {
            failure.state = character.state;
        }
        if (isNew(c, u, failure.kind)) {
            keep(failure);
        }
    }

    ExploreReport finish() {
        ExploreReport report;
        report.failures = std::move(failures);
        report.failuresFound = failuresFound;
        report.situations = store.size();
        report.cutOff = cutOff;
        if (goals != nullptr) {
            report.goalVerdict =
                cutOff == CutOff::None ? GoalVerdict::Judged : GoalVerdict::Incomplete;
            if (cutOff == CutOff::None) {
                report.goals = graph.judge(store);
            }
        }
        for (uint32_t i = 0; i < store.size(); ++i) {
            report.deepest = std::max(report.deepest, store.record(i).depth);
        }
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            for (size_t u = 0; u < reached[c].size(); ++u) {
                ++report.unitsTotal;
                if (reached[c][u]) {
                    ++report.unitsReached;
                } else {
                    report.unreached.push_back(UnitReference{c, static_cast<int32_t>(u)});
                }
            }
        }
        report.store = std::make_shared<const SituationStore>(std::move(store));
        return report;
    }

    ConversationEngine& engine;
    const ScriptPlaces& lines;
    const ExploreLimits& limits;
    const StepWatcher& watcher;
    ConversationView view;
    ConversationFlow flow;
    SituationStore store;
    VariableNames names;
    // The situation being expanded, as the engine is put into it before each step.
    GameState situationState;
    // The view once situationState, with its questions, is applied.
    ConversationView situationView;
    // The layout situationState's memory holds; none before the first.
    uint32_t memoryLayout = UINT32_MAX;
    // True while the engine's memory holds situationState's variables.
    bool memoryIsSituations = false;
    // The characters whose state in the engine may differ from
    // situationState's; every other one holds its state there.
    std::vector<int32_t> changedCharacters;
    // reached[c][u]: the unit was offered as a question or shown as an initial answer.
    std::vector<bool> reached[MAX_CHARACTERS];
    // failedKinds[c][u]: a bit for each kind of failure the unit's question
    // was found with, so that each is counted once, by its shortest path.
    std::vector<uint8_t> failedKinds[MAX_CHARACTERS];
    // The initial answer last noted for each character.
    const char* lastNotedAnswer[MAX_CHARACTERS] = {};
    // The characters found failing to start, each with the message it failed
    // with; at most a few for each character.
    std::set<std::pair<int32_t, std::string>> failedStarts;
    bool noIntroFound = false;
    std::vector<FailureRecord> failures;
    // pathMoney[i]: the money of stored situation i on its first way there.
    std::vector<int32_t> pathMoney;
    uint64_t failuresFound = 0;
    CutOff cutOff = CutOff::None;
    // The goals to judge; null when there are none.
    const GoalSearch* goals;
    // The steps between the situations, kept only with goals.
    GoalGraph graph;
};

} // namespace

// Only the parents' indices are stored; the texts are the script's.
std::vector<std::string> questionsTo(const ConversationEngine& engine, const ExploreReport& report,
                                     uint32_t situation, int32_t unit) {
    if (situation == NO_SITUATION) {
        return {};
    }
    const SituationStore& store = *report.store;
    auto question = [&](uint32_t at, int32_t u) {
        return engine.characters[store.record(at).character]->units[u]->question;
    };
    std::vector<const char*> questions{question(situation, unit)};
    for (uint32_t index = situation; index != 0;) {
        const SituationRecord& record = store.record(index);
        questions.push_back(question(record.parent, record.unit));
        index = record.parent;
    }
    std::vector<std::string> path;
    path.reserve(questions.size());
    for (auto text = questions.rbegin(); text != questions.rend(); ++text) {
        path.push_back(displayText(*text));
    }
    return path;
}

ExploreReport exploreScript(ConversationEngine& engine, const ScriptPlaces& lines,
                            const ExploreLimits& limits, const StepWatcher& watcher) {
    return Explorer(engine, lines, limits, watcher, nullptr).run();
}

ExploreReport exploreScript(ConversationEngine& engine, const ScriptPlaces& lines,
                            const ExploreLimits& limits, const StepWatcher& watcher,
                            const GoalSearch& goals) {
    return Explorer(engine, lines, limits, watcher, &goals).run();
}

Finding describeFailure(const ConversationEngine& engine, const ScriptPlaces& lines,
                        const ExploreReport& report, const FailureRecord& failure) {
    Finding finding;
    finding.hasPath = true;
    finding.path = questionsTo(engine, report, failure.situation, failure.unit);
    const std::string message = failure.text;
    const auto stops = [&message] { return "the player stops with \"" + message + "\""; };
    if (failure.kind == FailureKind::NoIntro) {
        finding.name = "no-intro";
        finding.text = std::string("the game can't begin: no character is named \"") +
                       START_CHARACTER + "\", and " + stops();
        return finding;
    }
    if (failure.kind == FailureKind::StartFails) {
        finding.line = std::max(lines.characterLine(failure.character), 1);
        finding.name = "reachable-start-fails";
        finding.text =
            "starting " + quoted(engine.characters[failure.character]->name) + " fails: " + stops();
        return finding;
    }
    const Character& character = *engine.characters[failure.character];
    const TalkUnit& unit = *character.units[failure.unit];
    const std::string question = quoted(unit.question);
    finding.line = std::max(lines.unitLine(failure.character, failure.unit), 1);
    switch (failure.kind) {
    case FailureKind::MissingCharacter:
        finding.name = "reachable-missing-character";
        finding.text = question + " hands over to " + quoted(failure.text) +
                       ", which is no character: the player stops with \"" + CHARACTER_NOT_FOUND +
                       "\"";
        break;
    case FailureKind::CannotApply:
        finding.name = "reachable-cannot-apply";
        finding.text = question +
                       (unit.action == ACT_SUB_MEM
                            ? " removes " + quoted(unit.param) + ", which is not set then"
                            : " sets " + quoted(unit.param) + " while every memory slot is taken") +
                       ": " + stops();
        break;
    case FailureKind::MoneyBelowZero:
        finding.name = "money-below-zero";
        finding.text = question +
                       " takes the money below zero: nothing checks the money, so the step goes "
                       "through and leaves " +
                       std::to_string(failure.state);
        break;
    case FailureKind::NextState99:
        finding.name = "reachable-next-state-99";
        finding.text = question + " has next state -99: the player stops, showing \"" + message +
                       "\" left over from before";
        break;
    default:
        finding.name = "reachable-dead-end";
        finding.text = "after " + question + ", " + quoted(character.name) +
                       " offers no question in state " + std::to_string(failure.state) + ": " +
                       stops();
        break;
    }
    return finding;
}

} // namespace murmex::tool
