// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// The first line every script starts with, and the rule that recognises it.
#pragma once

#include <cstddef>

namespace murmex {

// The first line of every script, ended by a carriage return.
inline constexpr char SCRIPT_MAGIC[] = "MurmexSrcFile";

// True when the bytes, read exactly as a load reads them (descrambled when
// asked, '#' comments removed), begin with the magic line. Only the start of
// a script is needed.
bool startsWithMagicLine(const void* bytes, size_t size, bool descramble);

// What the first line holds, read the same way.
enum class FirstLine {
    Magic,
    // The magic, ended by a line feed alone: a script saved with Unix line ends.
    MagicEndedByLineFeed,
    Other,
};
FirstLine readFirstLine(const void* bytes, size_t size, bool descramble);

} // namespace murmex
