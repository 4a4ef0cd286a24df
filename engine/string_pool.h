// Texts of the script's string pool named by their offset in it, so that a
// saved game can refer to a text without holding a pointer.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>

namespace murmex {

// Offset of the text in the filled part of the pool, or -1 for null or a
// text that is not pooled.
int32_t poolOffset(const ScriptModel& script, const char* text);

// The pooled text that begins at the offset; null unless a text begins there
// and ends inside the filled part.
const char* pooledTextAt(const ScriptModel& script, int32_t offset);

} // namespace murmex
