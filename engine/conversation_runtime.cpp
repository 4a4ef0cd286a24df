// Playing a conversation: finding and starting a character and applying the
// question the player chose. Nothing here allocates.
#include "murmex/conversation_engine.h"
#include "murmex/runtime_messages.h"

#include <cstring>

namespace murmex {

using namespace runtime_messages;

int32_t ConversationEngine::indexOfCharacter(const char* name) const {
    if (name == nullptr) {
        return -1;
    }
    for (int32_t i = 0; i < characterCount; ++i) {
        // A character whose block failed to load has no name and is never found.
        const Character* character = characters[i].get();
        if (character != nullptr && character->name != nullptr &&
            std::strcmp(character->name, name) == 0) {
            return i;
        }
    }
    return -1;
}

int32_t ConversationEngine::findCharacter(const char* name) {
    const int32_t index = indexOfCharacter(name);
    if (index < 0) {
        errorMessage = CHARACTER_NOT_FOUND;
    }
    return index;
}

int32_t ConversationEngine::startCharacter(int32_t index, ConversationView& view) {
    // Left in place by a successful start; replaced by a later failure.
    errorMessage = CHARACTER_NOT_FOUND;
    if (index < 0 || index >= characterCount || characters[index] == nullptr) {
        return -1;
    }
    Character& character = *characters[index];
    view.characterIndex = index;
    character.resetState();
    view.answer = character.initialAnswer(memory);
    if (view.answer == nullptr) {
        errorMessage = NO_INITIAL_ANSWER;
        return -2;
    }
    view.questionCount =
        character.listQuestions(memory, view.questions, view.unitIndices, MAX_QUESTIONS);
    if (view.questionCount == 0) {
        errorMessage = NO_QUESTIONS_FOUND;
        return -3;
    }
    return 0;
}

int32_t ConversationEngine::applyQuestion(int32_t position, ConversationView& view) {
    // The view and position come from the caller; check both rather than read
    // outside the view or the characters.
    const int32_t index = view.characterIndex;
    const bool fits = index >= 0 && index < characterCount && characters[index] != nullptr &&
                      position >= 0 && position < view.questionCount && position < MAX_QUESTIONS;
    Character* character = fits ? characters[index].get() : nullptr;
    view.answer = fits ? character->applyUnit(view.unitIndices[position], memory) : nullptr;
    if (view.answer == nullptr) {
        errorMessage = CANNOT_APPLY;
        return RESULT_FAILED;
    }
    const int32_t state = character->state;
    if (state < 0) {
        // A hand-over or the end of the conversation: the questions stay as they were.
        return state;
    }
    view.questionCount =
        character->listQuestions(memory, view.questions, view.unitIndices, MAX_QUESTIONS);
    if (view.questionCount == 0) {
        errorMessage = NO_QUESTIONS;
        return RESULT_FAILED;
    }
    return state;
}

} // namespace murmex
