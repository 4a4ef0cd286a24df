// The game state as a value a game can keep, save and restore: the character
// talked to, every character's state, the memory exactly as laid out, money,
// and what the caller's view shows, so that a restored game shows the same
// screen and goes on exactly as the saved one would have.
#pragma once

#include "murmex/conversation_engine.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

// Results of the functions below; gameStateMessage says what each means.
constexpr int32_t GAME_STATE_OK = 0;
constexpr int32_t GAME_STATE_BUFFER_TOO_SMALL = -1;
constexpr int32_t GAME_STATE_TRUNCATED = -2;
constexpr int32_t GAME_STATE_CORRUPT = -3;
constexpr int32_t GAME_STATE_OTHER_VERSION = -4;
constexpr int32_t GAME_STATE_OTHER_SCRIPT = -5;
constexpr int32_t GAME_STATE_UNFIT = -6;

// Bytes saveGameState needs at most, whatever the script and the state: every
// character, five questions and every memory slot holding a longest name.
constexpr size_t GAME_STATE_MAX_BYTES = 13472;

// A copyable value; taking, applying, saving and restoring it allocate
// nothing. Texts are held as places in the loaded script, so a value fits only
// the script it was taken from. It is some 13 KiB (the memory store), so the
// save and restore calls need that much stack. To keep a game, write the bytes
// of saveGameState, never the value itself.
struct GameState {
    // The engine's characterCount when the value was taken.
    int32_t characterCount = 0;
    // states[c] is character c's state; entries below characterCount are used.
    int32_t states[MAX_CHARACTERS] = {};
    // The view's character, or -1 before any conversation started.
    int32_t characterIndex = -1;
    // Offset of the view's answer in the engine's string pool, or -1 for none.
    int32_t answerOffset = -1;
    // 0 to MAX_QUESTIONS.
    int32_t questionCount = 0;
    // Talk units of the view's character behind the offered questions, in order.
    int32_t questionUnits[MAX_QUESTIONS] = {};
    // Variables in the slots they occupy, and money. The slot matters: removal
    // leaves no marker, so whether a name is found depends on where the
    // others stand.
    MemoryStore memory;
};

// Takes the engine's state and what the view shows. GAME_STATE_OK, or
// GAME_STATE_UNFIT when the view does not belong to the engine's script (its
// answer is no pooled text, or its character or questions are not the
// script's); `out` then holds no usable value.
int32_t captureGameState(const ConversationEngine& engine, const ConversationView& view,
                         GameState& out);

// Puts the state into the engine and the view. Every index is checked against
// the loaded script first: on GAME_STATE_UNFIT neither is changed.
int32_t applyGameState(const GameState& state, ConversationEngine& engine, ConversationView& view);

// Writes the engine's state and the view as bytes bound to the loaded script.
// `written` is the size of the saved game, or on GAME_STATE_BUFFER_TOO_SMALL
// the size it needs (nothing is written then), or 0 on another failure.
int32_t saveGameState(const ConversationEngine& engine, const ConversationView& view, uint8_t* out,
                      size_t capacity, size_t& written);

// Reads what saveGameState wrote and applies it. Any refusal (truncated,
// corrupt, another version or script, values that don't fit) leaves the engine
// and the view as they were.
int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size);

// A fixed text for each result above, and for any other code.
const char* gameStateMessage(int32_t code);

// Digest of the loaded script: title, colours, names, every unit's fields and
// texts, and where each text stands in the pool. A saved game carries it, so
// that it is restored only into the script it was saved from.
uint64_t scriptDigest(const ConversationEngine& engine);

} // namespace murmex
