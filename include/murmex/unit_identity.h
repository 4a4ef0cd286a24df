// The host API, for games that embed the engine.
// How a character and a talk unit are named so that the name survives edits
// of other parts of the script and a translation of its texts: a character by
// its name and which of the characters with that name it is, a unit by its
// state and its place among its character's units of that state. Saved games
// and the translation export name them the same way, through these functions.
#pragma once

#include "murmex/engine/conversation_engine.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

// Which of the characters with character `index`'s name it is: 1 for the
// first in script order, 2 for the next, and so on; 0 for an index out of
// range.
int32_t nameOccurrence(const ScriptModel& script, int32_t index);

// Index of the `occurrence`th character (from 1) named exactly `name`, or -1.
int32_t findNameOccurrence(const ScriptModel& script, const char* name, int32_t occurrence);

// The unit's place among the character's units of its state, from 1 in
// script order; 0 for an index out of range.
int32_t placeInState(const Character& character, int32_t unitIndex);

// Index of the unit at `place` (from 1) among the character's units of
// `state`, or -1.
int32_t unitAtPlace(const Character& character, int32_t state, int32_t place);

// A digest of what the unit does, its question and answer texts aside: its
// state and next state, its action with its parameter and value, its
// conditions, and whether it has a question at all. A translated unit has the
// shape of the original.
uint64_t unitShape(const TalkUnit& unit);

// Which text of a unit a line id names.
enum class LinePart { Question, Answer };

// A line id names one text a player can be shown, the same for the
// translation export and for a game's voice-over: the character's name as
// UTF-8, "~N" after a name that repeats an earlier character's, the unit's
// state after "S", its place among the character's units of that state, and
// Q or A: "Mara/S1/2/Q", "Guard~2/S0/1/A". The suffix is the first N from
// the name's occurrence up that no character is named and no earlier repeat
// took, so ids that never clashed stay as they always were.

// N of character `index`'s "~N", or 0 when its ids carry none (the first
// character with its name, or an index out of range).
int32_t characterIdSuffix(const ScriptModel& script, int32_t index);

// Writes the id of the unit's question or answer into `out` (zero-terminated,
// cut to `capacity`) from the character's decoded name and suffix, the unit
// and its place in its state. Returns the whole id's length, as snprintf
// does; `out` may be null when `capacity` is 0, to measure.
size_t formatLineId(const char* characterText, int32_t suffix, const TalkUnit& unit, int32_t place,
                    LinePart part, char* out, size_t capacity);

// The same from the script alone, decoding the name and finding its suffix
// on the way; 0 and "" for an index out of range.
size_t formatLineId(const ScriptModel& script, int32_t character, int32_t unit, LinePart part,
                    char* out, size_t capacity);

// Room for any line id with its terminating zero.
constexpr size_t LINE_ID_SIZE = static_cast<size_t>(MAX_CHARACTER_NAME) * 3 + 48;

} // namespace murmex
