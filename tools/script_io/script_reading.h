// Whether a tool reads a script file as it stands or descrambled, when the
// command line does not say: as its first line says. A file whose first
// line is the magic as it stands is plain; any other is scrambled, as the
// player takes every file by default. A scrambled file whose first line
// descrambles to the magic is never taken for plain.
#pragma once

#include <string>

namespace murmex::tool {

// The reading of `path`: plain when `plain` says so, descrambled when
// `scrambled` does, otherwise as the file's first line says. Standard input,
// which can be read only once, and a file that cannot be read are
// descrambled unless told otherwise.
bool readsPlain(const std::string& path, bool plain, bool scrambled);

// The same for bytes in memory.
bool bytesReadPlain(const std::string& bytes);

// The help of the two options that say how a script file is read.
inline constexpr const char* PLAIN_HELP =
    "Read the script as plain text, not descrambled (without this or --scrambled, a file whose "
    "first line is MurmexSrcFile is read plain)";
inline constexpr const char* SCRAMBLED_HELP =
    "Read the script descrambled, as the player does by default";

} // namespace murmex::tool
