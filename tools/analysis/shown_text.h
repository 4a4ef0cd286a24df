// A script text as the player's window shows it: decoded for display, with the
// ampersands of keyboard mnemonics taken out, because the window's text lines
// draw "&S" as an underlined S and "&&" as one ampersand.
#pragma once

#include "murmex/script_model.h"

#include <string>
#include <string_view>

namespace murmex::tool {

// The bytes with each mnemonic marker removed: "&&" becomes "&", an ampersand
// before any other character disappears, and so does a lone one at the end.
std::string withoutMnemonics(std::string_view bytes);

// The text as the window shows it, in UTF-8. A null pointer gives "".
std::string shownText(const char* bytes);

// False for a text that stands for nothing: null, empty or the "-" placeholder.
bool holdsText(const char* bytes);

} // namespace murmex::tool
