// Playing a conversation on the engine: finding and starting a character and
// applying the question the player chose, with each character's state kept
// in the character. Nothing here allocates.
#include "engine/conversation_steps.h"
#include "murmex/conversation_engine.h"

namespace murmex {

namespace {

// The engine's characters hold their own states.
struct CharacterStates {
    ConversationEngine& engine;
    int32_t& operator[](int32_t index) { return engine.characters[index]->state; }
};

} // namespace

int32_t ConversationEngine::findCharacter(const char* name) {
    const int32_t index = indexOfCharacter(name);
    if (index < 0) {
        errorMessage = runtime_messages::CHARACTER_NOT_FOUND;
    }
    return index;
}

int32_t ConversationEngine::startCharacter(int32_t index, ConversationView& view) {
    CharacterStates states{*this};
    return steps::startCharacter(steps::Play<CharacterStates>{*this, states, memory, errorMessage},
                                 index, view);
}

int32_t ConversationEngine::applyQuestion(int32_t position, ConversationView& view) {
    CharacterStates states{*this};
    return steps::applyQuestion(steps::Play<CharacterStates>{*this, states, memory, errorMessage},
                                position, view);
}

} // namespace murmex
