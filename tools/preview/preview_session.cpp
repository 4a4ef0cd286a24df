// The preview's playtest: steps, undo and replay over the game-state value.
#include "tools/preview/preview_session.h"

#include "text/display_text.h"
#include "tools/analysis/shown_text.h"
#include "tools/preview/goal_standing.h"
#include "tools/script_io/load_failure_report.h"

#include <algorithm>
#include <sstream>

namespace murmex::tool {

std::string stepText(const PreviewStep& step) {
    switch (step.kind) {
    case PreviewStepKind::Choose:
        return std::to_string(step.position + 1) + ". " + step.text;
    case PreviewStepKind::SetVariable:
        return "set " + step.text + " = " + std::to_string(step.value);
    case PreviewStepKind::RemoveVariable:
        return "remove " + step.text;
    case PreviewStepKind::SetMoney:
        return "money = " + std::to_string(step.value);
    }
    return "";
}

bool PreviewSession::load(const std::string& path, bool plain) {
    lines = std::make_unique<ScriptPlaces>();
    script = loadScript(path, plain, lines.get());
    flow.reset();
    shown = ConversationView{};
    taken.clear();
    before.clear();
    failed.reset();
    diverged.clear();
    report.clear();
    if (!script.ok()) {
        std::ostringstream text;
        reportLoadFailure(path, plain, script, text);
        report = text.str();
        return false;
    }
    flow.emplace(*script.engine, shown);
    replay(wanted);
    return true;
}

bool PreviewSession::restart(const std::string& name) {
    if (!loaded()) {
        return false;
    }
    start = name;
    replay({});
    return !failed;
}

void PreviewSession::replay(const std::vector<PreviewStep>& steps) {
    // A copy: `steps` may be the very list that is cleared below.
    const std::vector<PreviewStep> aimed = steps;
    ConversationEngine& engine = *script.engine;
    engine.memory = MemoryStore();
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        engine.characters[c]->resetState();
    }
    shown = ConversationView{};
    taken.clear();
    before.clear();
    failed.reset();
    diverged.clear();
    wanted = aimed;
    if (!flow->start(start.c_str())) {
        failed = explainStartFailure(engine, start);
        return;
    }
    for (size_t i = 0; i < aimed.size() && !failed; ++i) {
        PreviewStep step = aimed[i];
        if (step.kind == PreviewStepKind::Choose) {
            step.position = findOffered(step);
            if (step.position < 0) {
                diverged = "Step " + std::to_string(i + 1) + " (\"" + aimed[i].text +
                           "\") no longer fits: " + characterName() + " in state " +
                           std::to_string(characterState()) + " does not offer it.";
                return;
            }
        }
        if (!apply(step)) {
            diverged = "Step " + std::to_string(i + 1) + " (" + stepText(step) +
                       ") could not be taken again.";
            return;
        }
    }
    // Fully replayed (or stopped by a failure): what was wanted is what was taken.
    wanted = aimed;
}

int32_t PreviewSession::findOffered(const PreviewStep& step) const {
    const auto offers = [this, &step](int32_t position) {
        return shownText(shown.questions[position]) == step.text;
    };
    if (step.position < shown.questionCount && offers(step.position)) {
        return step.position;
    }
    for (int32_t position = 0; position < shown.questionCount; ++position) {
        if (offers(position)) {
            return position;
        }
    }
    return -1;
}

bool PreviewSession::apply(const PreviewStep& step) {
    if (!loaded() || failed || shown.characterIndex < 0) {
        return false;
    }
    GameState state;
    if (captureGameState(*script.engine, shown, state) != GAME_STATE_OK) {
        return false;
    }
    PreviewStep kept = step;
    MemoryStore& memory = script.engine->memory;
    switch (step.kind) {
    case PreviewStepKind::Choose:
        if (step.position < 0 || step.position >= shown.questionCount) {
            return false;
        }
        // The text a replay looks for, as the window shows it.
        kept.text = shownText(shown.questions[step.position]);
        applyChoice(step.position);
        break;
    case PreviewStepKind::SetVariable:
        if (step.text.empty() || memory.set(step.text.c_str(), step.value) != 0) {
            return false;
        }
        break;
    case PreviewStepKind::RemoveVariable:
        if (memory.remove(step.text.c_str()) != 0) {
            return false;
        }
        break;
    case PreviewStepKind::SetMoney:
        memory.money = step.value;
        break;
    }
    if (step.kind != PreviewStepKind::Choose) {
        relist();
    }
    taken.push_back(kept);
    before.push_back(state);
    return true;
}

void PreviewSession::relist() {
    const Character& character = *script.engine->characters[shown.characterIndex];
    shown.questionCount = character.listQuestions(script.engine->memory, shown.questions,
                                                  shown.unitIndices, MAX_QUESTIONS);
}

bool PreviewSession::take(const PreviewStep& step) {
    if (!apply(step)) {
        return false;
    }
    wanted = taken;
    return true;
}

void PreviewSession::applyChoice(int32_t position) {
    ConversationEngine& engine = *script.engine;
    const int32_t character = shown.characterIndex;
    const int32_t state = engine.characters[character]->state;
    const int32_t unit = shown.unitIndices[position];
    const StepOutcome outcome = flow->choose(position);
    if (outcome.kind == StepKind::Failed) {
        failed = explainStepFailure(engine, *lines, character, state, unit, outcome);
    }
}

bool PreviewSession::choose(int32_t position) {
    return take({PreviewStepKind::Choose, position, "", 0});
}

bool PreviewSession::chooseNumbers(const std::vector<int32_t>& numbers) {
    for (size_t i = 0; i < numbers.size(); ++i) {
        const int32_t offered = shown.questionCount;
        if (!choose(numbers[i] - 1)) {
            if (!failed) {
                diverged = "Choice " + std::to_string(i + 1) + " of the list (" +
                           std::to_string(numbers[i]) + ") was refused: " + characterName() +
                           " offers " + std::to_string(offered) + " questions.";
            }
            return false;
        }
    }
    return !failed;
}

bool PreviewSession::back() {
    if (!loaded() || taken.empty()) {
        return false;
    }
    if (applyGameState(before.back(), *script.engine, shown) != GAME_STATE_OK) {
        return false;
    }
    taken.pop_back();
    before.pop_back();
    wanted = taken;
    failed.reset();
    diverged.clear();
    return true;
}

bool PreviewSession::setVariable(const std::string& name, int32_t value) {
    return take({PreviewStepKind::SetVariable, 0, name, value});
}

bool PreviewSession::removeVariable(const std::string& name) {
    return take({PreviewStepKind::RemoveVariable, 0, name, 0});
}

bool PreviewSession::setMoney(int32_t value) {
    return take({PreviewStepKind::SetMoney, 0, "", value});
}

void PreviewSession::judgeGoals() {
    goalNote.clear();
    if (goals.empty() || !loaded()) {
        return;
    }
    std::vector<Goal> resolved = goals;
    std::string error;
    if (!resolveGoals(resolved, *script.engine, error)) {
        goalNote = "Goal " + error + ".";
    } else if (failed) {
        goalNote = "Lost: the game has stopped.";
    } else {
        goalNote = goalStanding(*script.engine, *lines, shown, resolved);
    }
}

std::string PreviewSession::characterName() const {
    if (!loaded() || shown.characterIndex < 0) {
        return "";
    }
    return displayText(script.engine->characters[shown.characterIndex]->name);
}

int32_t PreviewSession::characterState() const {
    if (!loaded() || shown.characterIndex < 0) {
        return 0;
    }
    return script.engine->characters[shown.characterIndex]->state;
}

std::vector<std::string> PreviewSession::characterNames() const {
    std::vector<std::string> names;
    if (loaded()) {
        for (int32_t c = 0; c < script.engine->characterCount; ++c) {
            names.emplace_back(script.engine->characters[c]->name);
        }
    }
    return names;
}

std::vector<PreviewVariable> PreviewSession::variables(bool byName) const {
    std::vector<PreviewVariable> found;
    if (!loaded()) {
        return found;
    }
    const MemoryStore& memory = script.engine->memory;
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            found.push_back({slot, displayText(memory.names[slot]), memory.valueAt(slot)});
        }
    }
    if (byName) {
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a.name < b.name; });
    }
    return found;
}

} // namespace murmex::tool
