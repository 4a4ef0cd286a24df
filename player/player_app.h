// Start-up decisions of the player that need no window: the command-line tail
// and the switch that selects plain script files.
#pragma once

#include <string>
#include <string_view>

namespace kestrine {

// The arguments after the program name joined with single blanks, with the
// leading bytes 1 to 32 removed. Nothing else is removed or split.
std::string commandLineTail(int argc, const char* const* argv);

// True when the whole tail is "/nd", "-nd" or "nd", ignoring the case of
// ASCII letters: script files are then read plain, without descrambling.
bool selectsPlainScripts(std::string_view tail);

} // namespace kestrine
