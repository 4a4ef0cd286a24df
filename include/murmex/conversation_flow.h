// How a player carries a conversation from one step to the next: start
// "Intro", follow a hand-over to the character it names, start "Intro" again
// when a conversation ends, and stop on a failure. The window and the terminal
// player both go through here, so they cannot drift apart.
#pragma once

#include "murmex/conversation_engine.h"

#include <cstdint>

namespace kestrine {

// The character every game starts with, and returns to when a conversation ends.
constexpr const char* START_CHARACTER = "Intro";

enum class StepKind {
    Continued, // the same character answered; the view holds its new questions
    Switched,  // the conversation went on with the character the unit named
    Ended,     // the conversation ended and START_CHARACTER was started again
    Failed,    // the engine's errorMessage says what went wrong; the game is over
};

struct StepOutcome {
    StepKind kind;
    // What applyQuestion returned: the new state, RESULT_SWITCH, RESULT_FAILED,
    // or the negative state that ended the conversation.
    int32_t result;
};

class ConversationFlow {
public:
    ConversationFlow(murmex::ConversationEngine& engine, murmex::ConversationView& view)
        : engine(engine), view(view) {}

    // Finds and starts the named character. False on failure, with the
    // engine's errorMessage telling why.
    bool start(const char* name);

    // Applies the offered question at `position` (0 to the view's
    // questionCount - 1) and moves on as the result demands.
    StepOutcome choose(int32_t position);

private:
    murmex::ConversationEngine& engine;
    murmex::ConversationView& view;
};

} // namespace kestrine
