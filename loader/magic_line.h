// The loader's step that reads the magic first line.
#pragma once

#include "loader/script_reader.h"

#include <cstdint>

namespace murmex {

// The magic first line, read as a load reads it: READ_OK, READ_END for a
// source that ends within it (nothing to load, which is not an error), or
// LOAD_BAD_MAGIC with the cause noted.
int32_t readMagicLine(ScriptReader& reader);

} // namespace murmex
