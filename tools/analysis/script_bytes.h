// The core's magic-line rule and scrambling applied to bytes held in a string.
#pragma once

#include <cstddef>
#include <string>

namespace murmex::tool {

// True when the bytes, read as the loader reads them, start with the magic line.
bool firstLineIsMagic(const std::string& bytes, bool descramble);

// Scrambles, or unscrambles, the bytes of a whole file in place.
void scrambleInPlace(std::string& bytes);

} // namespace murmex::tool
