// The host API, for games that embed the engine.
// The game state as a value a game can keep, save and restore: the character
// talked to, every character's state, the memory exactly as laid out, money,
// and what the caller's view shows, so that a restored game shows the same
// screen and goes on exactly as the saved one would have. Saved games name
// characters and units so that they also restore into an edited or
// translated script, where that script still holds the situation saved.
#pragma once

#include "murmex/engine/conversation_engine.h"

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
// Refusals of a saved game that names its situation (version 2) by a script
// that no longer holds it: the character talked to is gone; its saved state
// has no talk units; the unit whose answer is shown is gone or does
// something else.
constexpr int32_t GAME_STATE_CHARACTER_GONE = -7;
constexpr int32_t GAME_STATE_STATE_GONE = -8;
constexpr int32_t GAME_STATE_UNIT_CHANGED = -9;
// The situation is there, but no question's conditions hold in it now: the
// game would show the answer and offer nothing, where the window ends with
// "No questions!". Refused, so the caller keeps its game and can start afresh.
constexpr int32_t GAME_STATE_NO_QUESTIONS = -10;

// Bytes of a version 1 saved game at most, whatever the script and the
// state: every character, five questions and every memory slot holding a
// longest name. Games saved before version 2 fit in this.
constexpr size_t GAME_STATE_MAX_BYTES = 13472;
// Bytes saveGameState needs at most (version 2): every character with a
// longest name, the unit shown and every memory slot holding a longest name.
constexpr size_t GAME_STATE_V2_MAX_BYTES = 23359;

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

// Writes the engine's state and the view as bytes (version 2): every
// character by name with its state, the character talked to, the unit whose
// answer is shown by its place among its character's units of its state, and
// the memory slot for slot. `written` is the size of the saved game, or on
// GAME_STATE_BUFFER_TOO_SMALL the size it needs (nothing is written then), or
// 0 on another failure.
int32_t saveGameState(const ConversationEngine& engine, const ConversationView& view, uint8_t* out,
                      size_t capacity, size_t& written);

// Reads what saveGameState wrote and applies it. A version 1 saved game
// restores only into the script it was saved from. A version 2 one restores
// into that script exactly, and into an edited or translated one when the
// character talked to is still there (by name, and which of that name), its
// state still has units and the unit shown still stands at its place with
// its shape (unitShape), and it still offers a question; the other
// characters' states carry over by name, and the answer and questions come
// from the loaded script. Any refusal (truncated, corrupt, another version or
// script, values that don't fit, a situation the script no longer holds or
// that offers nothing) leaves the engine and the view as they were.
int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size);

// Which character and unit a refusal names, for gameStateRefusalMessage.
struct GameStateRefusal {
    int32_t code = GAME_STATE_OK;
    // The character talked to, as the saved game names it: its name and
    // which of the characters with that name it is (from 1); empty and 0
    // before the refusal reaches it.
    char character[MAX_CHARACTER_NAME + 1] = {};
    int32_t occurrence = 0;
    // Its saved state.
    int32_t state = 0;
    // The unit shown: its state and place among the character's units of
    // that state (from 1); place 0 when none is named.
    int32_t unitState = 0;
    int32_t unitPlace = 0;
};

// The same, telling which character and unit a refusal is about.
int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size, GameStateRefusal& refusal);

// The same as restoreGameState, but any change of the script refuses with
// GAME_STATE_OTHER_SCRIPT, whatever the version: for games that want a
// saved game to go only with the script it came from.
int32_t restoreGameStateStrictly(ConversationEngine& engine, ConversationView& view,
                                 const uint8_t* bytes, size_t size);

// Room for any text of gameStateRefusalMessage, with its zero.
constexpr size_t GAME_STATE_REFUSAL_TEXT_SIZE = 320;

// Words a refusal with the character and state it names ("the saved game
// talks to "Mara~2" in state 3, which has no talk units in the loaded
// script"), or as gameStateMessage does for the other codes. The name is the
// script's bytes; a repeated name gets "~2", "~3" as the translation export
// writes it. Writes at most `capacity` bytes with the zero; returns the
// length of the whole text.
size_t gameStateRefusalMessage(const GameStateRefusal& refusal, char* out, size_t capacity);

// A fixed text for each result above, and for any other code.
const char* gameStateMessage(int32_t code);

// Digest of the loaded script: title, colours, names, every unit's fields and
// texts, and where each text stands in the pool. A saved game carries it: a
// version 1 one is restored only into the script it was saved from, and a
// version 2 one exactly, or strictly, when the digests agree.
uint64_t scriptDigest(const ScriptModel& script);

} // namespace murmex
