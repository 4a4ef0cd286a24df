// The host API, for games that embed the engine.
// How a character and a talk unit are named so that the name survives edits
// of other parts of the script and a translation of its texts: a character by
// its name and which of the characters with that name it is, a unit by its
// state and its place among its character's units of that state. Saved games
// and the translation export name them the same way, through these functions.
#pragma once

#include "murmex/engine/conversation_engine.h"

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

} // namespace murmex
