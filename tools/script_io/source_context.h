// The lines of a script around the line where something went wrong, shown the
// way compilers show them: line numbers in a gutter and '>' at the line.
#pragma once

#include "murmex/script_source.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace murmex::tool {

// Lines shown before and after the marked one.
constexpr int32_t CONTEXT_LINES = 2;

// Bytes of a line shown at most; the rest gives way to a marker, so that a
// script with enormous lines can't flood the terminal.
constexpr size_t CONTEXT_WIDTH = 200;

// The lines from `line` - `around` to `line` + `around` of the script,
// read descrambled when asked, each ended by a line feed, for example
//       4 | TEXTCOLOR = "4", "5", "6"
//   >   5 | "Intro" {
// Lines are counted by line feeds, as the loader counts them; carriage
// returns at their ends are dropped and other control bytes shown as '?'.
// The source is read from its start up to the last line shown, keeping only
// those lines. Empty when `line` lies outside the script.
std::string sourceContext(ScriptSource& source, bool descramble, int32_t line,
                          int32_t around = CONTEXT_LINES);

// The same for bytes in memory.
std::string sourceContext(const std::string& bytes, bool descramble, int32_t line,
                          int32_t around = CONTEXT_LINES);

} // namespace murmex::tool
