// Decoding and mnemonic markers of script texts, into the caller's buffers.
#include "murmex/script_text.h"

#include "text/code_page.h"

#include <cstring>

namespace murmex {

namespace code_page {

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
        if ((text[i] & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

char32_t utf8CodePoint(const uint8_t* text, size_t length) {
    if (length <= 1) {
        return text[0];
    }
    char32_t codePoint = text[0] & (0xFFu >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (text[i] & 0x3Fu);
    }
    return codePoint;
}

size_t encodeUtf8(char32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

} // namespace code_page

namespace {

const uint8_t* asBytes(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

// Zero-terminates out at `length`, which the callers keep below capacity.
size_t finish(char* out, size_t length) {
    out[length] = 0;
    return length;
}

} // namespace

bool isUtf8Text(const char* bytes, size_t length) {
    if (bytes == nullptr) {
        return true;
    }
    const uint8_t* text = asBytes(bytes);
    size_t at = 0;
    while (at < length) {
        const size_t sequence = code_page::utf8SequenceLength(text + at, length - at);
        if (sequence == 0) {
            return false;
        }
        at += sequence;
    }
    return true;
}

size_t decodeScriptText(const char* bytes, size_t length, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return 0;
    }
    if (bytes == nullptr) {
        return finish(out, 0);
    }
    const uint8_t* text = asBytes(bytes);
    if (isUtf8Text(bytes, length)) {
        // Cut, if at all, at the start of a sequence.
        size_t kept = 0;
        while (kept < length) {
            const size_t sequence = code_page::utf8SequenceLength(text + kept, length - kept);
            if (kept + sequence >= capacity) {
                break;
            }
            kept += sequence;
        }
        std::memcpy(out, bytes, kept);
        return finish(out, kept);
    }
    size_t written = 0;
    for (size_t i = 0; i < length; ++i) {
        char encoded[4];
        const size_t size =
            code_page::encodeUtf8(code_page::windows1252CodePoint(text[i]), encoded);
        if (written + size >= capacity) {
            break;
        }
        std::memcpy(out + written, encoded, size);
        written += size;
    }
    return finish(out, written);
}

size_t removeMnemonicMarks(const char* bytes, size_t length, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return 0;
    }
    size_t written = 0;
    for (size_t i = 0; bytes != nullptr && i < length && written + 1 < capacity; ++i) {
        if (bytes[i] == '&') {
            // The marker goes; the character after it stays, even a second '&'.
            ++i;
            if (i == length) {
                break;
            }
        }
        out[written++] = bytes[i];
    }
    return finish(out, written);
}

size_t findMnemonicMark(const char* bytes, size_t length, size_t from) {
    if (bytes == nullptr) {
        return length;
    }
    for (size_t i = from; i < length; ++i) {
        if (bytes[i] != '&') {
            continue;
        }
        if (i + 1 < length && bytes[i + 1] == '&') {
            ++i; // "&&" shows one ampersand and marks nothing
            continue;
        }
        return i;
    }
    return length;
}

char32_t mnemonicOf(const char* bytes, size_t length) {
    const size_t mark = findMnemonicMark(bytes, length, 0);
    if (mark + 1 >= length) {
        return 0; // no marker, or a last lone '&' that marks nothing
    }
    const uint8_t* marked = asBytes(bytes) + mark + 1;
    if (!isUtf8Text(bytes, length)) {
        return code_page::windows1252CodePoint(*marked);
    }
    return code_page::utf8CodePoint(marked,
                                    code_page::utf8SequenceLength(marked, length - mark - 1));
}

char32_t foldMnemonicCase(char32_t letter) {
    if ((letter >= 'a' && letter <= 'z') || (letter >= 0xE0 && letter <= 0xFE && letter != 0xF7)) {
        return letter - 0x20;
    }
    return letter;
}

} // namespace murmex
