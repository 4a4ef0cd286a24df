// Decoding of script texts for display: UTF-8 when valid, else Windows-1252.
// The tools' and the player's std::string forms of the library's decoder.
#include "text/display_text.h"

#include "murmex/script_text.h"
#include "text/code_page.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace murmex {

std::string displayText(const char* bytes) {
    if (bytes == nullptr) {
        return {};
    }
    const size_t size = std::strlen(bytes);
    std::string out(decodedCapacity(size), '\0');
    out.resize(decodeScriptText(bytes, size, out.data(), out.size()));
    return out;
}

bool isUtf8(std::string_view bytes) {
    return isUtf8Text(bytes.data(), bytes.size());
}

bool toWindows1252(std::string_view utf8, std::string& out, char32_t& unmapped) {
    using code_page::WINDOWS_1252_HIGH;
    const auto* text = reinterpret_cast<const uint8_t*>(utf8.data());
    out.clear();
    size_t at = 0;
    while (at < utf8.size()) {
        const size_t length = code_page::utf8SequenceLength(text + at, utf8.size() - at);
        if (length == 0) {
            unmapped = 0xFFFD;
            return false;
        }
        const char32_t codePoint = code_page::utf8CodePoint(text + at, length);
        at += length;
        if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
            out += static_cast<char>(codePoint);
            continue;
        }
        const char32_t* found =
            std::find(std::begin(WINDOWS_1252_HIGH), std::end(WINDOWS_1252_HIGH), codePoint);
        if (found == std::end(WINDOWS_1252_HIGH)) {
            unmapped = codePoint;
            return false;
        }
        out += static_cast<char>(0x80 + (found - std::begin(WINDOWS_1252_HIGH)));
    }
    return true;
}

} // namespace murmex
