// Where a version 2 saved game says the game stands, by names that survive
// edits of other parts of the script and a translation: the characters by
// name with their states, the character talked to and the unit whose answer
// is shown. Taken from a game state over one script and resolved into a game
// state over another.
#pragma once

#include "murmex/game_state.h"

#include <cstdint>

namespace murmex::saved_places {

struct SavedCharacter {
    char name[MAX_CHARACTER_NAME + 1];
    int32_t state;
};

// Which text of the shown unit the view shows.
enum class ShownText : uint8_t {
    None = 0,   // no answer: before a conversation, or after a failure
    Answer = 1, // its answer, or for a unit without a question the opening answer
    Param = 2,  // its parameter: the name a hand-over shows until the next start
};

struct ShownUnit {
    ShownText text = ShownText::None;
    // The unit's state and its place among its character's units of that
    // state, from 1; unused for None.
    int32_t state = 0;
    int32_t place = 0;
    // unitShape of the unit.
    uint64_t shape = 0;
};

// Some 10 KiB; no allocation.
struct SavedPlaces {
    int32_t characterCount = 0;
    // In script order, so a repeated name's occurrence is its count so far.
    SavedCharacter characters[MAX_CHARACTERS];
    // Place in `characters` of the character talked to, or -1.
    int32_t talkedTo = -1;
    ShownUnit shown;
};

// The unit of `character` whose answer or parameter is `text`, and which of
// the two it is; -1 when the text is neither of any of its units.
int32_t unitShowing(const Character& character, const char* text, ShownText& which);

// Names what the state, which fits `script`, refers to. GAME_STATE_OK, or
// GAME_STATE_UNFIT when a name is longer than a script can hold.
int32_t take(const GameState& state, const ScriptModel& script, SavedPlaces& out);

// Puts the places into `state` over `script`, whose memory the caller has
// filled: each character's state by name, the character talked to, the
// answer shown and the questions offered now. GAME_STATE_OK, or a refusal
// with `refusal` naming the character and unit, and `state` then unusable.
int32_t resolve(const SavedPlaces& places, const ScriptModel& script, GameState& state,
                GameStateRefusal& refusal);

} // namespace murmex::saved_places
