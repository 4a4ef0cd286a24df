// Conversions through MultiByteToWideChar.
#include "player/win32/utf16.h"

#include "text/display_text.h"

#include <windows.h>

namespace kestrine::win32 {

std::wstring scriptTextToUtf16(const char* bytes) {
    return utf8ToUtf16(murmex::displayText(bytes));
}

std::wstring asciiToUtf16(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring utf8ToUtf16(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace kestrine::win32
