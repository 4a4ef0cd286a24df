// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// What the engine tells its caller after each step of a conversation: the
// current character, its answer and the questions the player may choose.
#pragma once

#include <cstdint>

namespace murmex {

// Questions offered at one time; further available ones are not offered.
constexpr int32_t MAX_QUESTIONS = 5;

// applyQuestion: the conversation moves on to the character named in the view's answer.
constexpr int32_t RESULT_SWITCH = -98;
// applyQuestion: the question could not be applied, or nothing is left to offer.
constexpr int32_t RESULT_FAILED = -99;

// Owned by the caller, filled by startCharacter and applyQuestion.
struct ConversationView {
    // Index in the engine's characters of the character being talked to.
    int32_t characterIndex = -1;
    // Current answer (pooled); the next character's name after a hand-over;
    // null after a failed step or a start without an initial answer.
    const char* answer = nullptr;
    // Offered questions (pooled); entries below questionCount are valid.
    const char* questions[MAX_QUESTIONS] = {};
    // unitIndices[k] is the index of the talk unit behind questions[k].
    int32_t unitIndices[MAX_QUESTIONS] = {};
    // 0 to MAX_QUESTIONS.
    int32_t questionCount = 0;
};

} // namespace murmex
