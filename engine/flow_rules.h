// How a game moves on after applyQuestion: a hand-over starts the character
// the view names, an ended conversation starts the first character again, a
// failure ends the game. ConversationFlow and Game both follow these rules;
// a Game also hears the hand-over and the end before the next start
// replaces what the view shows.
#pragma once

#include "murmex/conversation_flow.h"

namespace murmex::flow_rules {

// `Player` offers start(name) and startGame(), both true on success, and
// handedOver(name) and ended(answer), called just before the start they lead
// to. `shown` is the view's answer after the step: the next character's name
// after a hand-over, the last answer when the conversation ended.
template <typename Player>
StepOutcome followStep(Player& player, int32_t result, const char* shown) {
    if (result == RESULT_FAILED) {
        return {StepKind::Failed, result};
    }
    if (result == RESULT_SWITCH) {
        player.handedOver(shown);
        return {player.start(shown) ? StepKind::Switched : StepKind::Failed, result};
    }
    if (result < 0) {
        player.ended(shown);
        return {player.startGame() ? StepKind::Ended : StepKind::Failed, result};
    }
    return {StepKind::Continued, result};
}

} // namespace murmex::flow_rules
