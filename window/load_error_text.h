// The message the player shows when its script does not load. The terminal
// player shows the same text, so it lives apart from the window's logic.
#pragma once

#include <cstdint>
#include <string>

namespace kestrine {

// "Err=CODE\nLine=LINE\nErrStr=MESSAGE", as the message box shows it.
std::string loadErrorText(int32_t code, int32_t line, const char* message);

} // namespace kestrine
