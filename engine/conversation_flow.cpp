// The player's reaction to each result of a conversation step.
#include "murmex/conversation_flow.h"

namespace murmex {

bool ConversationFlow::start(const char* name) {
    const int32_t index = engine.findCharacter(name);
    if (index < 0) {
        return false;
    }
    return engine.startCharacter(index, view) == 0;
}

StepOutcome ConversationFlow::choose(int32_t position) {
    const int32_t result = engine.applyQuestion(position, view);
    if (result == RESULT_FAILED) {
        return {StepKind::Failed, result};
    }
    if (result == RESULT_SWITCH) {
        // The view's answer names the next character.
        return {start(view.answer) ? StepKind::Switched : StepKind::Failed, result};
    }
    if (result < 0) {
        return {startGame() ? StepKind::Ended : StepKind::Failed, result};
    }
    return {StepKind::Continued, result};
}

} // namespace murmex
