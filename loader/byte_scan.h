// The two loops that touch every byte of a script file: descrambling a
// fetched chunk, and finding where a quoted value stops. They run at the
// width of the processor's vector unit, so reading a large script costs
// little more than reading the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

// Exclusive-or of each byte with the key byte of its file offset; the first
// byte lies at firstOffset.
void descrambleBytes(uint8_t* bytes, size_t count, uint32_t firstOffset);

// The first double quote, line feed or zero byte in [from, to), or null.
const uint8_t* findValueStop(const uint8_t* from, const uint8_t* to);

// The bytes a skip to a wanted character stops at: a line feed counts a
// line, '#' opens a comment, and a brace or a quote other than the wanted
// one is out of place.
constexpr uint8_t SEEK_STOPS[] = {'\n', '#', '{', '}', '"'};

// Bytes findFieldValue looks at; all of them must be readable.
constexpr size_t FIELD_WINDOW = 16;

// Just past the opening quote of a field: the letter, then '=', then '"',
// each the first byte after the one before that is either it or a seek
// stop, all within FIELD_WINDOW bytes from `from`. Null when they aren't,
// which a byte-wise look then decides.
const uint8_t* findFieldValue(const uint8_t* from, uint8_t letter);

} // namespace murmex
