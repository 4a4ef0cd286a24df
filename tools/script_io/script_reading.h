// Whether a tool reads a script file as it stands or descrambled, when the
// command line does not say: as its first line says. A file whose first
// line is the magic as it stands is plain; any other is scrambled, as the
// player takes every file by default. A scrambled file whose first line
// descrambles to the magic is never taken for plain. Nor is a file that
// starts with the mark of UTF-8 before the magic: it is text, and read plain
// its error says how to mend it.
#pragma once

#include <string>

namespace murmex::tool {

// The reading of `path`: plain when `plain` says so, descrambled when
// `scrambled` does, otherwise as the file's first line says; "-" is standard
// input, which is read once and kept for the load. A file that cannot be
// read is descrambled unless told otherwise.
bool readsPlain(const std::string& path, bool plain, bool scrambled);

// The same for bytes in memory.
bool bytesReadPlain(const std::string& bytes);

// True when the bytes' first line descrambles to the magic: a scrambled
// script, whatever the command line says.
bool bytesReadScrambled(const std::string& bytes);

// The mark that some editors write at the start of a UTF-8 file.
inline constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";

// The help of the two options that say how a script file is read.
inline constexpr const char* PLAIN_HELP =
    "Read the script as plain text, not descrambled (without this or --scrambled, a file whose "
    "first line is MurmexSrcFile is read plain)";
inline constexpr const char* SCRAMBLED_HELP =
    "Read the script descrambled, as the player does by default";

} // namespace murmex::tool
