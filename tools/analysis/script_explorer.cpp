// The breadth-first search over situations. Each step applies a stored
// situation to the engine and the view as a game state (the character talked
// to, its state, the memory and the offered questions), lets the player's own
// flow apply one offered question, and reads the situation that follows. The
// rules of a step are the engine's alone.
#include "tools/analysis/script_explorer.h"

#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"
#include "murmex/runtime_messages.h"
#include "text/display_text.h"
#include "tools/analysis/situation_store.h"
#include "tools/analysis/unit_text.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>

namespace murmex::tool {

namespace {

// How much of a question a failure's text quotes; the path quotes it whole.
constexpr size_t QUOTED_CHARACTERS = 40;
using runtime_messages::CHARACTER_NOT_FOUND;

std::string quoted(const char* text) {
    return "\"" + shortText(text, QUOTED_CHARACTERS) + "\"";
}

// What makes two failures the same: the kind, and the talk unit (or the
// character that would not start) it comes from.
using FailureKey = std::tuple<int32_t, int32_t, int32_t, std::string>;

enum FailureKind : int32_t {
    FAILURE_START,
    FAILURE_DEAD_END,
    FAILURE_CANNOT_APPLY,
    FAILURE_NEXT_STATE_99,
    FAILURE_MISSING_CHARACTER,
};

class Explorer {
  public:
    Explorer(ConversationEngine& engine, const ScriptLines& lines, const ExploreLimits& limits)
        : engine(engine), lines(lines), limits(limits), flow(engine, view) {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            reached[c].assign(engine.characters[c] ? engine.characters[c]->unitCount : 0, false);
        }
    }

    ExploreReport run() {
        // The game begins with an empty memory, every character in state 0.
        situationState.characterCount = engine.characterCount;
        apply(situationState);
        if (!flow.startGame()) {
            noteStartFailure({});
            return finish();
        }
        noteInitialAnswer();
        SituationKey key;
        SituationStore::readKey(engine.memory, view.characterIndex,
                                engine.characters[view.characterIndex]->state, names, key);
        store.add(key, 0, 0, 0);
        for (uint32_t index = 0; index < store.size(); ++index) {
            expand(index);
        }
        return finish();
    }

  private:
    void expand(uint32_t index) {
        const SituationRecord record = store.record(index);
        store.readGameState(index, names, situationState);
        apply(situationState);
        // The questions this situation offers become part of it, so that each
        // one is tried from the same screen.
        situationState.questionCount = engine.characters[record.character]->listQuestions(
            engine.memory, view.questions, view.unitIndices, MAX_QUESTIONS);
        std::copy_n(view.unitIndices, situationState.questionCount, situationState.questionUnits);
        if (record.depth >= limits.maxDepth) {
            cut(CutOff::Depth);
            return;
        }
        for (int32_t position = 0; position < situationState.questionCount; ++position) {
            const int32_t unit = situationState.questionUnits[position];
            reached[record.character][unit] = true;
            apply(situationState);
            const StepOutcome outcome = flow.choose(position);
            if (outcome.kind == StepKind::Failed) {
                noteFailure(index, record.character, unit, outcome);
                continue;
            }
            if (outcome.kind != StepKind::Continued) {
                noteInitialAnswer();
            }
            SituationKey& key = scratchKey;
            SituationStore::readKey(engine.memory, view.characterIndex,
                                    engine.characters[view.characterIndex]->state, names, key);
            if (store.find(key) >= 0) {
                continue;
            }
            if (store.size() >= limits.maxSituations) {
                cut(CutOff::Situations);
            } else if (store.bytes() >= limits.maxBytes) {
                cut(CutOff::Memory);
            } else {
                store.add(key, index, record.depth + 1, static_cast<uint16_t>(unit));
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

    void cut(CutOff reason) {
        if (cutOff == CutOff::None) {
            cutOff = reason;
        }
    }

    // A start shows the initial answer of one unit; the answer's pooled text
    // is that unit's own, so the pointer tells which.
    void noteInitialAnswer() {
        const Character& character = *engine.characters[view.characterIndex];
        for (int32_t u = character.unitCount - 1; u >= 0; --u) {
            if (character.units[u]->answer == view.answer) {
                reached[view.characterIndex][u] = true;
                return;
            }
        }
    }

    // The questions that lead to a situation, and then the one chosen there.
    std::vector<std::string> pathTo(uint32_t index, const char* lastQuestion) const {
        std::vector<std::string> path;
        if (lastQuestion != nullptr) {
            path.push_back(displayText(lastQuestion));
        }
        while (index != 0) {
            const SituationRecord& situation = store.record(index);
            const SituationRecord& parent = store.record(situation.parent);
            path.push_back(
                displayText(engine.characters[parent.character]->units[situation.unit]->question));
            index = situation.parent;
        }
        return {path.rbegin(), path.rend()};
    }

    bool isNew(const FailureKey& key) { return failureKeys.emplace(key, true).second; }

    void add(int32_t line, const char* name, std::string text, std::vector<std::string> path) {
        failures.push_back(
            Finding{line > 0 ? line : 1, name, std::move(text), std::move(path), true});
    }

    // Starting a character failed: "Intro" at the beginning of the game or
    // after a conversation ended, or the character a hand-over named.
    void noteStartFailure(std::vector<std::string> path) {
        const std::string message = engine.errorMessage;
        if (std::strcmp(engine.errorMessage, CHARACTER_NOT_FOUND) == 0) {
            // Outside a hand-over only "Intro" is looked up, and once it has
            // been found it stays: this is the very first start.
            if (isNew({FAILURE_MISSING_CHARACTER, -1, -1, ""})) {
                add(1, "no-intro",
                    std::string("the game can't begin: no character is named \"") +
                        START_CHARACTER + "\", and the player stops with \"" + message + "\"",
                    std::move(path));
            }
            return;
        }
        const int32_t started = view.characterIndex;
        if (isNew({FAILURE_START, started, -1, message})) {
            add(lines.characterLines[started], "reachable-start-fails",
                "starting " + quoted(engine.characters[started]->name) +
                    " fails: the player stops with \"" + message + "\"",
                std::move(path));
        }
    }

    void noteFailure(uint32_t index, int32_t c, int32_t u, const StepOutcome& outcome) {
        const Character& character = *engine.characters[c];
        const TalkUnit& unit = *character.units[u];
        const int32_t line = lines.unitLines[c][u];
        const std::string message = engine.errorMessage;
        const std::string question = quoted(unit.question);
        if (outcome.result != RESULT_FAILED) {
            // The step itself went through; starting the next character failed.
            if (std::strcmp(engine.errorMessage, CHARACTER_NOT_FOUND) == 0) {
                // findCharacter leaves the view alone: its answer is the name.
                if (isNew({FAILURE_MISSING_CHARACTER, c, u, ""})) {
                    add(line, "reachable-missing-character",
                        question + " hands over to " + quoted(view.answer) +
                            ", which is no character: the player stops with \"" + message + "\"",
                        pathTo(index, unit.question));
                }
                return;
            }
            noteStartFailure(pathTo(index, unit.question));
            return;
        }
        if (view.answer == nullptr) {
            if (isNew({FAILURE_CANNOT_APPLY, c, u, ""})) {
                const std::string reason =
                    unit.action == ACT_SUB_MEM
                        ? " removes " + quoted(unit.param) + ", which is not set then"
                        : " sets " + quoted(unit.param) + " while every memory slot is taken";
                add(line, "reachable-cannot-apply",
                    question + reason + ": the player stops with \"" + message + "\"",
                    pathTo(index, unit.question));
            }
            return;
        }
        if (character.state == RESULT_FAILED) {
            if (isNew({FAILURE_NEXT_STATE_99, c, u, ""})) {
                add(line, "reachable-next-state-99",
                    question + " has next state -99: the player stops, showing \"" + message +
                        "\" left over from before",
                    pathTo(index, unit.question));
            }
            return;
        }
        if (isNew({FAILURE_DEAD_END, c, u, ""})) {
            add(line, "reachable-dead-end",
                "after " + question + ", " + quoted(character.name) +
                    " offers no question in state " + std::to_string(character.state) +
                    ": the player stops with \"" + message + "\"",
                pathTo(index, unit.question));
        }
    }

    ExploreReport finish() {
        ExploreReport report;
        report.failures = std::move(failures);
        report.situations = store.size();
        report.cutOff = cutOff;
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
        return report;
    }

    ConversationEngine& engine;
    const ScriptLines& lines;
    const ExploreLimits& limits;
    ConversationView view;
    ConversationFlow flow;
    SituationStore store;
    VariableNames names;
    SituationKey scratchKey;
    // The situation being expanded, as the engine is put into it before each step.
    GameState situationState;
    // reached[c][u]: the unit was offered as a question or shown as an initial answer.
    std::vector<bool> reached[MAX_CHARACTERS];
    std::map<FailureKey, bool> failureKeys;
    std::vector<Finding> failures;
    CutOff cutOff = CutOff::None;
};

} // namespace

ExploreReport exploreScript(ConversationEngine& engine, const ScriptLines& lines,
                            const ExploreLimits& limits) {
    return Explorer(engine, lines, limits).run();
}

} // namespace murmex::tool
