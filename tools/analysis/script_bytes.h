// What the tool knows about a script file's raw bytes: reading them whole,
// the magic first line, and the scrambling by file offset.
#pragma once

#include <cstdint>
#include <string>

namespace murmex::tool {

// The first line of every script, ended by a carriage return.
constexpr char SCRIPT_MAGIC[] = "MurmexSrcFile";

// Reads the whole file into `bytes`. False, with the reason in `error`, when
// it cannot be read (missing, a folder, no permission).
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// True when the bytes, read as the loader reads them (descrambled when asked,
// '#' comments skipped), start with the magic followed by a carriage return.
bool firstLineIsMagic(const std::string& bytes, bool descramble);

// Combines every byte with the key byte of its offset. The same call undoes
// it, so it both scrambles and unscrambles.
void scrambleInPlace(std::string& bytes);

// Line the loader stands on once it has read the whole file: one more than the
// line feeds the bytes hold, read descrambled when asked.
int32_t lineAtEnd(const std::string& bytes, bool descramble);

} // namespace murmex::tool
