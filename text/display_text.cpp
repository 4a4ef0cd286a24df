// Decoding of script texts for display: UTF-8 when valid, else Windows-1252.
#include "text/display_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace murmex {

namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value, as
// the platform's own conversion does.
constexpr char32_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at `text`, or 0 when there is none:
// overlong forms, surrogates and code points above U+10FFFF are refused, so a
// Windows-1252 text is not mistaken for UTF-8 by accident.
size_t utf8SequenceLength(const uint8_t* text, size_t remaining) {
    const uint8_t lead = text[0];
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    uint8_t secondMin = 0x80;
    uint8_t secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            secondMin = 0xA0; // below: overlong
        } else if (lead == 0xED) {
            secondMax = 0x9F; // above: UTF-16 surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            secondMin = 0x90; // below: overlong
        } else if (lead == 0xF4) {
            secondMax = 0x8F; // above: beyond U+10FFFF
        }
    } else {
        return 0;
    }
    if (remaining < length || text[1] < secondMin || text[1] > secondMax) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (!isContinuation(text[i])) {
            return 0;
        }
    }
    return length;
}

bool isValidUtf8(const uint8_t* text, size_t size) {
    size_t at = 0;
    while (at < size) {
        const size_t length = utf8SequenceLength(text + at, size - at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        // Every Windows-1252 character lies in the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string displayText(const char* bytes) {
    if (bytes == nullptr) {
        return {};
    }
    const size_t size = std::strlen(bytes);
    const auto* text = reinterpret_cast<const uint8_t*>(bytes);
    if (isValidUtf8(text, size)) {
        return std::string(bytes, size);
    }
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        const uint8_t byte = text[i];
        if (byte >= 0x80 && byte <= 0x9F) {
            appendUtf8(out, WINDOWS_1252_HIGH[byte - 0x80]);
        } else {
            // Latin-1 and Windows-1252 agree on every other byte.
            appendUtf8(out, byte);
        }
    }
    return out;
}

bool isUtf8(std::string_view bytes) {
    return isValidUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool toWindows1252(std::string_view utf8, std::string& out, char32_t& unmapped) {
    const auto* text = reinterpret_cast<const uint8_t*>(utf8.data());
    out.clear();
    size_t at = 0;
    while (at < utf8.size()) {
        const size_t length = utf8SequenceLength(text + at, utf8.size() - at);
        if (length == 0) {
            unmapped = 0xFFFD;
            return false;
        }
        char32_t codePoint = length == 1 ? text[at] : text[at] & (0xFF >> (length + 1));
        for (size_t i = 1; i < length; ++i) {
            codePoint = (codePoint << 6) | (text[at + i] & 0x3F);
        }
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
