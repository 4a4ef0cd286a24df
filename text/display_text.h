// Turns the byte strings of a script (titles, names, questions, answers) into
// UTF-8 for display. Scripts come from editors that save either UTF-8 or the
// Western Windows code page, and nothing in a file says which.
#pragma once

#include <string>

namespace murmex {

// The text as UTF-8: kept as it is when the whole text is valid UTF-8, and
// otherwise read byte by byte as Windows-1252. A null pointer gives "".
std::string displayText(const char* bytes);

} // namespace murmex
