// Words a failed step or start from the unit that was applied and the
// engine's message.
#include "tools/preview/step_failure.h"

#include "murmex/memory_store.h"
#include "murmex/runtime_messages.h"
#include "text/display_text.h"
#include "tools/analysis/shown_text.h"

#include <cstring>

namespace murmex::tool {

namespace {

bool says(const ConversationEngine& engine, const char* message) {
    return std::strcmp(engine.errorMessage, message) == 0;
}

// Why starting `name` failed; `how` says how the game came to start it.
std::string startCause(const ConversationEngine& engine, const std::string& how,
                       const std::string& name) {
    if (says(engine, runtime_messages::CHARACTER_NOT_FOUND)) {
        return how + "\"" + name + "\", but no character has that name";
    }
    if (says(engine, runtime_messages::NO_INITIAL_ANSWER)) {
        return how + name + ", which has no initial answer whose conditions hold in state 0";
    }
    if (says(engine, runtime_messages::NO_QUESTIONS_FOUND)) {
        return how + name + ", which offers no question in state 0";
    }
    return how + name;
}

std::string applyCause(const TalkUnit& unit) {
    const std::string name = displayText(unit.param);
    if (unit.action == ACT_SUB_MEM) {
        return "the unit removes the variable \"" + name + "\", which does not exist";
    }
    if (unit.action == ACT_ADD_MEM) {
        return "the unit sets the variable \"" + name + "\", but all " +
               std::to_string(MEMORY_SLOTS) + " variable slots are taken";
    }
    return "the unit does not fit the character's state";
}

} // namespace

StepFailure explainStepFailure(const ConversationEngine& engine, const ScriptPlaces& lines,
                               int32_t character, int32_t state, int32_t unit,
                               const StepOutcome& outcome) {
    const Character& speaker = *engine.characters[character];
    const TalkUnit& applied = *speaker.units[unit];
    StepFailure failure;
    failure.character = displayText(speaker.name);
    failure.state = state;
    failure.question = shownText(applied.question);
    failure.line = lines.unitLine(character, unit);
    failure.message = engine.errorMessage;
    if (outcome.result == RESULT_SWITCH) {
        failure.cause = startCause(engine, "the unit hands over to ", displayText(applied.param));
    } else if (outcome.result == RESULT_FAILED && says(engine, runtime_messages::NO_QUESTIONS)) {
        failure.cause = failure.character + " offers no question in its new state " +
                        std::to_string(applied.nextState);
    } else if (outcome.result == RESULT_FAILED) {
        failure.cause = applyCause(applied);
    } else {
        failure.cause =
            startCause(engine, "the conversation ends and the game starts ", START_CHARACTER);
    }
    return failure;
}

StepFailure explainStartFailure(const ConversationEngine& engine, const std::string& name) {
    StepFailure failure;
    failure.character = displayText(name.c_str());
    failure.message = engine.errorMessage;
    failure.cause = startCause(engine, "the game starts ", failure.character);
    return failure;
}

std::string failureText(const StepFailure& failure) {
    std::string text = "Failed: " + failure.message + "\n";
    if (!failure.question.empty()) {
        text += failure.character + " (state " + std::to_string(failure.state) + "), question \"" +
                failure.question + "\", unit at line " + std::to_string(failure.line) + "\n";
    }
    return text + "Cause: " + failure.cause;
}

} // namespace murmex::tool
