// Texts on their way to the Windows API, which takes UTF-16.
#pragma once

#include <string>

namespace kestrine::win32 {

// A script text as shown: UTF-8 where the bytes are valid UTF-8, otherwise
// Windows-1252, as on every platform; then in UTF-16.
std::wstring scriptTextToUtf16(const char* bytes);

// A text of ASCII characters only (a face's name, a menu entry) in UTF-16.
std::wstring asciiToUtf16(const char* text);

// A UTF-8 text in UTF-16.
std::wstring utf8ToUtf16(const std::string& utf8);

} // namespace kestrine::win32
