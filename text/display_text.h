// Turns the byte strings of a script (titles, names, questions, answers) into
// UTF-8 for display. Scripts come from editors that save either UTF-8 or the
// Western Windows code page, and nothing in a file says which.
#pragma once

#include <string>
#include <string_view>

namespace murmex {

// The text as UTF-8: kept as it is when the whole text is valid UTF-8, and
// otherwise read byte by byte as Windows-1252. A null pointer gives "".
std::string displayText(const char* bytes);

// True when every byte sequence of the text is well-formed UTF-8.
bool isUtf8(std::string_view bytes);

// The UTF-8 text in Windows-1252, the inverse of displayText's fallback: the
// five bytes the code page leaves unassigned map back from the code points
// displayText gives them. False, with the first character that has no byte in
// `unmapped`, when the text holds one; also false for text that is not UTF-8
// (`unmapped` then 0xFFFD).
bool toWindows1252(std::string_view utf8, std::string& out, char32_t& unmapped);

} // namespace murmex
