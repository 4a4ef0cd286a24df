// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// How a player carries a conversation from one step to the next: start the
// first character ("Intro" unless a game says otherwise), follow a hand-over
// to the character it names, start the first character again when a
// conversation ends, and stop on a failure. The window, the tools and any
// game that embeds the engine go through here, so they cannot drift apart.
#pragma once

#include "murmex/engine/conversation_engine.h"

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

// What a talk unit does in a game that follows this flow.
enum class UnitEffect {
    Opens,     // no question: the character's opening answer, shown, never applied
    Continues, // the same character answers and offers the questions of the next state
    HandsOver, // ACT_COMM, or next state -98: the character handOverName names starts
    Ends,      // any other negative next state: the first character starts again at once
    Stops,     // next state -99: the game stops as after a failure
};

// The effect of choosing the unit's question; Opens for a unit without one.
UnitEffect unitEffect(const TalkUnit& unit);

// The character a hand-over starts: PARAM with ACT_COMM; the answer text
// without it (next state -98), which the flow takes for a name.
const char* handOverName(const TalkUnit& unit);

// Whether a game can ever show the unit's answer: an opening answer in state
// 0 (a start always uses state 0), or the answer to a question after which
// the same character talks on. A hand-over shows the next character's
// opening answer instead, an end shows the first character's, and a stop
// shows nothing more.
bool answerCanBeShown(const TalkUnit& unit);

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
