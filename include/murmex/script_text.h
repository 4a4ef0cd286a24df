// The host API, for games that embed the engine.
// Script texts as a game shows them. A script's texts are bytes in whatever
// encoding the author's editor saved (UTF-8 or the Western Windows code
// page; nothing in a file says which), and an '&' marks the letter that
// chooses a question from the keyboard. These functions write into the
// caller's buffers and allocate nothing, so a game can call them on every
// step.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

// Room that decodeScriptText needs for `bytes` bytes: a byte becomes at most
// three bytes of UTF-8, and the terminating zero follows.
constexpr size_t decodedCapacity(size_t bytes) {
    return bytes * 3 + 1;
}

// True when every byte sequence of the text is well-formed UTF-8 (no
// overlong forms, surrogates or code points beyond U+10FFFF).
bool isUtf8Text(const char* bytes, size_t length);

// Writes the text as UTF-8 into `out`, zero-terminated: as it is when the
// whole text is valid UTF-8, else read byte by byte as Windows-1252. Returns
// the length written. A text that does not fit is cut before the first
// character that would not fit whole; a null text gives "".
size_t decodeScriptText(const char* bytes, size_t length, char* out, size_t capacity);

// Writes the text with each marker removed: "&&" becomes "&", an '&' before
// any other character goes and the character stays, a last lone '&' goes.
// '&' is one byte in either encoding, so this works on the bytes before or
// after decoding. Returns the length written (cut to fit, zero-terminated).
size_t removeMnemonicMarks(const char* bytes, size_t length, char* out, size_t capacity);

// The offset of the first marker at or after `from`: a single '&' (a last
// lone '&' counts, marking nothing), with each "&&" before it skipped as the
// one '&' it shows. `length` when no marker follows. `from` must not fall
// between the two of an "&&".
size_t findMnemonicMark(const char* bytes, size_t length, size_t from);

// The character the first single '&' marks, as a code point of the decoded
// text, or 0 when the text marks none.
char32_t mnemonicOf(const char* bytes, size_t length);

// The case form mnemonics are matched in: ASCII and Latin-1 letters in upper
// case, every other code point as it is.
char32_t foldMnemonicCase(char32_t letter);

} // namespace murmex
