// The two encodings a script text may be in, as the decoders on both sides
// of the library need them: the length of a UTF-8 sequence, and the code
// points of the Windows-1252 bytes that differ from Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex::code_page {

// Code points of Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value, as
// the platform's own conversion does.
inline constexpr char32_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The code point of one Windows-1252 byte.
constexpr char32_t windows1252CodePoint(uint8_t byte) {
    // Latin-1 and Windows-1252 agree on every byte outside 0x80 to 0x9F.
    return byte >= 0x80 && byte <= 0x9F ? WINDOWS_1252_HIGH[byte - 0x80] : byte;
}

// Length of the well-formed UTF-8 sequence at `text`, or 0 when there is none:
// overlong forms, surrogates and code points above U+10FFFF are refused, so a
// Windows-1252 text is not mistaken for UTF-8 by accident.
size_t utf8SequenceLength(const uint8_t* text, size_t remaining);

// The code point of a well-formed sequence of `length` bytes.
char32_t utf8CodePoint(const uint8_t* text, size_t length);

// Writes the code point's UTF-8 form into out (room for 4 bytes); returns its length.
size_t encodeUtf8(char32_t codePoint, char* out);

} // namespace murmex::code_page
