// How a player carries a conversation from one step to the next: start the
// first character ("Intro" unless a game says otherwise), follow a hand-over
// to the character it names, start the first character again when a
// conversation ends, and stop on a failure. The window, the tools and any
// game that embeds the engine go through here, so they cannot drift apart.
#pragma once

#include "murmex/conversation_engine.h"

#include <cstdint>

namespace murmex {

// The character every game starts with, and returns to when a conversation ends.
constexpr const char* START_CHARACTER = "Intro";

enum class StepKind {
    Continued, // the same character answered; the view holds its new questions
    Switched,  // the conversation went on with the character the unit named
    Ended,     // the conversation ended and the first character was started again
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
    // `startedFirst` is started by startGame and after every conversation
    // that ends; it is not copied and must outlive the flow.
    ConversationFlow(ConversationEngine& playedEngine, ConversationView& shownView,
                     const char* startedFirst = START_CHARACTER)
        : engine(playedEngine), view(shownView), firstCharacter(startedFirst) {}

    // Finds and starts the named character. False on failure, with the
    // engine's errorMessage telling why.
    bool start(const char* name);
    // Starts the first character.
    bool startGame() { return start(firstCharacter); }

    // Applies the offered question at `position` (0 to the view's
    // questionCount - 1) and moves on as the result demands.
    StepOutcome choose(int32_t position);

  private:
    ConversationEngine& engine;
    ConversationView& view;
    const char* firstCharacter;
};

} // namespace murmex
