// Sizes of the buffers that quoted values are read into. A value may hold at
// most limit - 2 characters: the last index is kept for the terminating zero
// and a value that reaches it counts as too long.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>

namespace murmex {

// A character's name: names are short labels that the runtime compares.
constexpr int32_t NAME_LIMIT = MAX_CHARACTER_NAME + 2;
// The title, header colours, S, N, Q, A, ACT and PARAM: room for a paragraph of answer text.
constexpr int32_t TEXT_LIMIT = MAX_TEXT_LENGTH + 2;
// A unit's VAL and a condition's ID, OP and VAL: numbers, operators, variable names.
constexpr int32_t SHORT_LIMIT = 150;

} // namespace murmex
