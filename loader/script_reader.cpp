// The script reader's file handling, comments and the two scanning steps.
#include "loader/script_reader.h"

#include "loader/load_messages.h"

#include <cstring>

namespace murmex {

namespace {
// The key bytes laid out twice in a row, so that the key for any run of up to
// 256 offsets is one contiguous slice and a block descrambles in a tight loop.
struct RepeatedKey {
    uint8_t bytes[512];
    RepeatedKey() {
        for (uint32_t i = 0; i < 512; ++i) {
            bytes[i] = scrambleKeyAt(i);
        }
    }
};
const RepeatedKey repeatedKey;

} // namespace

ScriptReader::~ScriptReader() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool ScriptReader::open(const char* fileName) {
    file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return false;
    }
    // The reader fetches large blocks itself; a second buffer would only copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    next = end = buffer;
    nextOffset = 0;
    return true;
}

bool ScriptReader::refill() {
    if (file == nullptr) {
        return false;
    }
    const size_t got = std::fread(buffer, 1, sizeof(buffer), file);
    const uint8_t lowest = engine.descramble != 0 ? descrambleBlock(buffer, got, nextOffset)
                                                  : lowestByte(buffer, got);
    blockHasZero = got != 0 && lowest == 0;
    next = buffer;
    end = buffer + got;
    lineFeed = nullptr;
    return got != 0;
}

uint8_t ScriptReader::descrambleBlock(uint8_t* bytes, size_t count, uint32_t firstOffset) const {
    uint8_t lowest = 255;
    size_t done = 0;
    while (done < count) {
        const uint32_t keyStart = (firstOffset + static_cast<uint32_t>(done)) & 255u;
        const size_t run = count - done < 256 ? count - done : 256;
        uint8_t* __restrict target = bytes + done;
        const uint8_t* __restrict key = repeatedKey.bytes + keyStart;
        for (size_t i = 0; i < run; ++i) {
            target[i] ^= key[i];
            lowest = target[i] < lowest ? target[i] : lowest;
        }
        done += run;
    }
    return lowest;
}

uint8_t ScriptReader::lowestByte(const uint8_t* bytes, size_t count) {
    uint8_t lowest = 255;
    for (size_t i = 0; i < count; ++i) {
        lowest = bytes[i] < lowest ? bytes[i] : lowest;
    }
    return lowest;
}

bool ScriptReader::readQuotedInBlock(char* buffer, int32_t last) {
    // Only a value shorter than the last index can close here: one that
    // reaches it is the byte-wise path's to report.
    const size_t available = static_cast<size_t>(end - next);
    const size_t window = available < static_cast<size_t>(last) ? available : last;
    const void* quote = std::memchr(next, '"', window);
    if (quote == nullptr) {
        return false;
    }
    if (lineFeed == nullptr || lineFeed < next) {
        const void* found = std::memchr(next, '\n', available);
        lineFeed = found != nullptr ? static_cast<const uint8_t*>(found) : end;
    }
    if (lineFeed < quote) {
        return false;
    }
    const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(quote) - next);
    std::memcpy(buffer, next, length);
    buffer[length] = 0;
    // A zero byte inside a value ends the text there, as it ends any string.
    lastQuotedLength = static_cast<int32_t>(blockHasZero ? std::strlen(buffer) : length);
    next += length + 1;
    nextOffset += static_cast<uint32_t>(length + 1);
    return true;
}

int32_t ScriptReader::skipComments(char& out) {
    // The '#' has been taken. Every byte of the comment still counts in the
    // position, or the key would slip for everything after it.
    for (;;) {
        do {
            if (!takeByte(out)) {
                return READ_END;
            }
        } while (out != '\n');
        countLine();
        // The character after a comment is an ordinary one: a line feed counts
        // a further line, and a '#' opens the next comment.
        if (!takeByte(out)) {
            return READ_END;
        }
        if (out == '\n') {
            countLine();
        }
        if (out != '#') {
            return READ_OK;
        }
    }
}

int32_t ScriptReader::seekCharSlowly(char wanted) {
    const char* message = nullptr;
    const int32_t result = scan(0, [&](char c) {
        // Checked before the stop characters, so a brace or quote can be sought.
        if (c == wanted) {
            return true;
        }
        if (c == '{') {
            message = messages::OPEN_BRACE_UNEXPECTED;
        } else if (c == '}') {
            message = messages::CLOSE_BRACE_UNEXPECTED;
        } else if (c == '"') {
            message = messages::QUOTE_UNEXPECTED;
        }
        return message != nullptr;
    });
    if (result != READ_OK) {
        return result;
    }
    return message == nullptr ? READ_OK : syntaxError(message);
}

int32_t ScriptReader::readQuoted(char* buffer, int32_t limit) {
    const int32_t sought = seekChar('"');
    if (sought != READ_OK) {
        return sought;
    }
    const int32_t last = limit - 1;
    if (readQuotedInBlock(buffer, last)) {
        return READ_OK;
    }
    int32_t index = 0;
    bool closed = false;
    // Stops at the closing quote, at the last index, at a line feed (values
    // can't span lines) or at the end of the file; the index then stays at
    // the place being filled.
    scan(1, [&](char c) {
        buffer[index] = c;
        if (c == '"') {
            closed = true;
            return true;
        }
        if (index == last || c == '\n') {
            return true;
        }
        ++index;
        return false;
    });
    int32_t result = READ_OK;
    if (!closed) {
        result = syntaxError(messages::QUOTE_EXPECTED);
    }
    buffer[index] = 0;
    // Reaching the last index is too long even when the quote stands there:
    // at most limit - 2 characters fit.
    if (index == last) {
        result = LOAD_LIMIT;
    }
    if (result == READ_OK) {
        lastQuotedLength = static_cast<int32_t>(std::strlen(buffer));
    }
    return result;
}

} // namespace murmex
