// The rules of a conversation step, over a loaded script and a game state
// that may live elsewhere: the engine keeps each character's state in the
// character itself, a Game in an array of its own over a shared script. Both
// come here, so the rules are written once.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/runtime_messages.h"

#include <cstdint>

namespace murmex::steps {

// True when the unit's state is `state` and all its conditions hold.
bool isAvailable(const TalkUnit& unit, int32_t state, const MemoryStore& memory);
// Answer of the last available unit with an empty question, or null.
const char* initialAnswer(const Character& character, int32_t state, const MemoryStore& memory);
// Stores the first max available questions in script order; returns how many.
int32_t listQuestions(const Character& character, int32_t state, const MemoryStore& memory,
                      const char** questions, int32_t* unitIndices, int32_t max);
// Moves `state` to the unit's next state and performs its action. Returns the
// answer (the param for ACT_COMM), or null when the unit does not fit or its
// action fails.
const char* applyUnit(const Character& character, int32_t& state, int32_t unitIndex,
                      MemoryStore& memory);

// What one step reads and writes. `States` gives a character's state by
// index: `int32_t& operator[](int32_t)`.
template <typename States> struct Play {
    const ScriptModel& script;
    States& states;
    MemoryStore& memory;
    const char*& errorMessage;
};

template <typename States>
int32_t startCharacter(Play<States> play, int32_t index, ConversationView& view) {
    // Left in place by a successful start; replaced by a later failure.
    play.errorMessage = runtime_messages::CHARACTER_NOT_FOUND;
    const ScriptModel& script = play.script;
    if (index < 0 || index >= script.characterCount || script.characters[index] == nullptr) {
        return -1;
    }
    const Character& character = *script.characters[index];
    int32_t& state = play.states[index];
    view.characterIndex = index;
    state = 0;
    view.answer = initialAnswer(character, state, play.memory);
    if (view.answer == nullptr) {
        play.errorMessage = runtime_messages::NO_INITIAL_ANSWER;
        return -2;
    }
    view.questionCount = listQuestions(character, state, play.memory, view.questions,
                                       view.unitIndices, MAX_QUESTIONS);
    if (view.questionCount == 0) {
        play.errorMessage = runtime_messages::NO_QUESTIONS_FOUND;
        return -3;
    }
    return 0;
}

template <typename States>
int32_t applyQuestion(Play<States> play, int32_t position, ConversationView& view) {
    // The view and position come from the caller; check both rather than read
    // outside the view or the characters.
    const ScriptModel& script = play.script;
    const int32_t index = view.characterIndex;
    const bool fits = index >= 0 && index < script.characterCount &&
                      script.characters[index] != nullptr && position >= 0 &&
                      position < view.questionCount && position < MAX_QUESTIONS;
    if (!fits) {
        view.answer = nullptr;
        play.errorMessage = runtime_messages::CANNOT_APPLY;
        return RESULT_FAILED;
    }
    const Character& character = *script.characters[index];
    int32_t& state = play.states[index];
    view.answer = applyUnit(character, state, view.unitIndices[position], play.memory);
    if (view.answer == nullptr) {
        play.errorMessage = runtime_messages::CANNOT_APPLY;
        return RESULT_FAILED;
    }
    if (state < 0) {
        // A hand-over or the end of the conversation: the questions stay as they were.
        return state;
    }
    view.questionCount = listQuestions(character, state, play.memory, view.questions,
                                       view.unitIndices, MAX_QUESTIONS);
    if (view.questionCount == 0) {
        play.errorMessage = runtime_messages::NO_QUESTIONS;
        return RESULT_FAILED;
    }
    return state;
}

} // namespace murmex::steps
