// Playing a loaded script step by step through the player's conversation flow,
// and putting into words what each step did.
#include "tools/authoring/play_session.h"

#include "murmex/game_state.h"
#include "text/display_text.h"
#include "tools/analysis/shown_text.h"
#include "window/load_error_text.h"

#include <cstring>
#include <map>

namespace murmex::tool {

namespace {

using murmex::StepKind;

// The variables as name and value, to compare before and after a step.
std::map<std::string, int32_t> variablesOf(const MemoryStore& memory) {
    std::map<std::string, int32_t> variables;
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            // A slot holds at most NAME_SIZE - 1 name bytes and its zero.
            const std::string name(memory.names[slot], strnlen(memory.names[slot], NAME_SIZE));
            variables[name] = memory.values[slot];
        }
    }
    return variables;
}

void describeVariableChanges(const std::map<std::string, int32_t>& before,
                             const std::map<std::string, int32_t>& after,
                             std::vector<std::string>& effects) {
    for (const auto& [name, value] : after) {
        const auto old = before.find(name);
        if (old == before.end()) {
            effects.push_back("set " + displayText(name.c_str()) + " = " + std::to_string(value));
        } else if (old->second != value) {
            effects.push_back("set " + displayText(name.c_str()) + " = " + std::to_string(value) +
                              " (was " + std::to_string(old->second) + ")");
        }
    }
    for (const auto& [name, value] : before) {
        if (after.find(name) == after.end()) {
            effects.push_back("removed " + displayText(name.c_str()) + " (was " +
                              std::to_string(value) + ")");
        }
    }
}

// Items are kept by the game, not by the engine; a trace still names them so
// the author sees the unit's intent.
void describeItem(const TalkUnit& unit, std::vector<std::string>& effects) {
    if (unit.action == ACT_ADD_INV) {
        effects.push_back("item " + displayText(unit.param) + " +" + std::to_string(unit.value) +
                          " (not kept by the engine)");
    } else if (unit.action == ACT_SUB_INV) {
        effects.push_back("item " + displayText(unit.param) + " taken (not kept by the engine)");
    }
}

} // namespace

bool PlaySession::open(const std::string& path, bool plain) {
    return adopt(loadScript(path, plain));
}

bool PlaySession::adopt(LoadedScript script) {
    loaded = std::move(script);
    flow.emplace(*loaded.engine, view);
    if (!loaded.ok()) {
        fail(kestrine::loadErrorText(loaded.code, loaded.line, loaded.message));
        return false;
    }
    return true;
}

bool PlaySession::restart() {
    if (!loaded.ok()) {
        return false;
    }
    GameState fresh;
    fresh.characterCount = loaded.engine->characterCount;
    // A state of the script's own making always fits it.
    if (applyGameState(fresh, *loaded.engine, view) != GAME_STATE_OK) {
        return false;
    }
    failedGame = false;
    failure.clear();
    return true;
}

bool PlaySession::start(const std::string& name) {
    if (failedGame) {
        return false;
    }
    if (!flow->start(name.c_str())) {
        fail(loaded.engine->errorMessage);
        return false;
    }
    return true;
}

bool PlaySession::resume(const std::string& savedGame) {
    if (failedGame) {
        return false;
    }
    GameStateRefusal refusal;
    if (restoreGameState(*loaded.engine, view, reinterpret_cast<const uint8_t*>(savedGame.data()),
                         savedGame.size(), refusal) != GAME_STATE_OK) {
        char words[GAME_STATE_REFUSAL_TEXT_SIZE];
        gameStateRefusalMessage(refusal, words, sizeof words);
        fail(displayText(words));
        return false;
    }
    return true;
}

std::string PlaySession::save() const {
    std::string bytes(GAME_STATE_V2_MAX_BYTES, '\0');
    size_t written = 0;
    if (failedGame || saveGameState(*loaded.engine, view, reinterpret_cast<uint8_t*>(bytes.data()),
                                    bytes.size(), written) != GAME_STATE_OK) {
        return "";
    }
    bytes.resize(written);
    return bytes;
}

PlayStep PlaySession::choose(int32_t position) {
    ConversationEngine& engine = *loaded.engine;
    const Character& character = *engine.characters[view.characterIndex];
    const TalkUnit& unit = *character.units[view.unitIndices[position]];
    const int32_t stateBefore = character.state;
    const std::map<std::string, int32_t> variablesBefore = variablesOf(engine.memory);
    const int32_t moneyBefore = engine.memory.money;

    PlayStep step{flow->choose(position), {}};

    // Positions come from the view, so the unit always fits the character's
    // state and the engine moves it to the unit's next state before acting.
    if (unit.action != ACT_COMM) {
        step.effects.push_back(displayText(character.name) + ": state " +
                               std::to_string(stateBefore) + " -> " +
                               std::to_string(unit.nextState));
    }
    describeVariableChanges(variablesBefore, variablesOf(engine.memory), step.effects);
    if (engine.memory.money != moneyBefore) {
        step.effects.push_back("money " + std::to_string(moneyBefore) + " -> " +
                               std::to_string(engine.memory.money));
    }
    describeItem(unit, step.effects);

    switch (step.outcome.kind) {
    case StepKind::Continued:
        break;
    case StepKind::Switched:
        step.effects.push_back("switch to " + characterName());
        break;
    case StepKind::Ended:
        step.effects.push_back("end (state " + std::to_string(step.outcome.result) + "), " +
                               START_CHARACTER + " starts again");
        break;
    case StepKind::Failed:
        fail(engine.errorMessage);
        step.effects.push_back("failed: " + failure);
        break;
    }
    return step;
}

QuestionMatch PlaySession::findQuestion(const std::string& text) const {
    QuestionMatch match;
    for (int32_t position = 0; position < view.questionCount; ++position) {
        if (shownText(view.questions[position]) == text) {
            if (match.matches == 0) {
                match.position = position;
            }
            ++match.matches;
        }
    }
    if (match.matches > 1) {
        match.position.reset();
    }
    return match;
}

std::string PlaySession::characterName() const {
    const ConversationEngine& engine = *loaded.engine;
    if (view.characterIndex < 0 || view.characterIndex >= engine.characterCount) {
        return "";
    }
    return displayText(engine.characters[view.characterIndex]->name);
}

std::string PlaySession::answer() const {
    return shownText(view.answer);
}

std::vector<std::string> PlaySession::questions() const {
    std::vector<std::string> shown;
    for (int32_t position = 0; position < view.questionCount; ++position) {
        shown.push_back(shownText(view.questions[position]));
    }
    return shown;
}

void PlaySession::fail(std::string text) {
    failedGame = true;
    failure = std::move(text);
}

} // namespace murmex::tool
