// Whole-number options of the tool's commands, read strictly: decimal digits
// only, within the bounds the option states. The parser's own conversion
// would take "-1" or a number too large for its type as some other number,
// and "010" as eight.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>

namespace murmex::tool {

// Accepts decimal digits that make a number from `least` to `most` and
// passes it on without leading zeros; anything else is a usage error
// "OPTION: TEXT is not a whole number from LEAST to MOST".
CLI::Validator wholeNumberIn(uint64_t least, uint64_t most);

} // namespace murmex::tool
