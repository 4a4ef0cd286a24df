// Script files as the tool handles them: read whole or just their start, and
// the core's magic-line rule and scrambling applied to bytes held in a string.
#pragma once

#include <cstddef>
#include <string>

namespace murmex::tool {

// Reads the whole file into `bytes`. False, with the reason in `error`, when
// it cannot be read (missing, a folder, no permission).
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Reads at most `limit` bytes from the start of the file; empty when it
// can't be read.
std::string readFileStart(const std::string& path, size_t limit);

// True when the bytes, read as the loader reads them, start with the magic line.
bool firstLineIsMagic(const std::string& bytes, bool descramble);

// Scrambles, or unscrambles, the bytes of a whole file in place.
void scrambleInPlace(std::string& bytes);

} // namespace murmex::tool
