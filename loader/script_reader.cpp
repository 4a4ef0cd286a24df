// The script reader's file handling, comments and the two scanning steps.
#include "loader/script_reader.h"

#include "loader/byte_scan.h"
#include "murmex/load_messages.h"
#include "murmex/scrambling.h"
#include "murmex/script_syntax.h"

#include <cstring>

namespace murmex {

bool ScriptReader::open() {
    next = end = chunk;
    nextOffset = 0;
    return source.startPass();
}

size_t ScriptReader::fetch() {
    const uint64_t allowed = fetchLimit - fingerprint.count();
    const size_t wanted = allowed < capacity ? static_cast<size_t>(allowed) : capacity;
    if (wanted == 0 || failedRead) {
        return 0;
    }
    // A game's own source might claim more than was asked for; nothing past
    // the chunk is ever touched.
    const size_t read = source.read(chunk, wanted);
    const size_t got = read < wanted ? read : wanted;
    if (got == 0 && source.failed()) {
        failedRead = true;
    }
    fingerprint.add(chunk, got);
    return got;
}

void ScriptReader::fetchRest() {
    while (fetch() != 0) {
    }
    next = end = chunk;
}

bool ScriptReader::sourceGoesOn() {
    if (failedRead) {
        return false;
    }
    const size_t read = source.read(chunk, 1);
    if (read == 0 && source.failed()) {
        failedRead = true;
    }
    next = end = chunk;
    return read != 0;
}

bool ScriptReader::refill() {
    const size_t got = fetch();
    if (descrambling) {
        scrambleBytes(chunk, got, nextOffset);
    }
    next = chunk;
    end = chunk + got;
    return got != 0;
}

void ScriptReader::noteQuotedFailure(bool closed, bool tooLong, bool endOfSource, int32_t limit,
                                     int32_t openedOn) {
    if (tooLong) {
        const LoadCause cause = limit == NAME_LIMIT   ? LoadCause::NameTooLong
                                : limit == TEXT_LIMIT ? LoadCause::TextTooLong
                                                      : LoadCause::ShortValueTooLong;
        state.noteCause(cause, 0, limit - 2);
    } else if (!closed) {
        state.noteCause(endOfSource ? LoadCause::TextNotClosedAtEndOfFile
                                    : LoadCause::TextNotClosedAtEndOfLine,
                        openedOn);
    }
}

bool ScriptReader::takeValueInChunk(const uint8_t* value, int32_t last) {
    // Only a value shorter than the last index can close here: one that
    // reaches it is the byte-wise path's to report.
    const size_t available = static_cast<size_t>(end - value);
    const size_t limit = static_cast<size_t>(last);
    const size_t window = available < limit ? available : limit;
    // A line feed, or a zero byte that would end the text early, is left to
    // the byte-wise path too.
    const uint8_t* stop = findValueStop(value, value + window);
    if (stop == nullptr || *stop != '"') {
        return false;
    }
    const size_t length = static_cast<size_t>(stop - value);
    lastQuotedText = reinterpret_cast<const char*>(value);
    lastQuotedRawLength = static_cast<int32_t>(length);
    lastQuotedLength = static_cast<int32_t>(length);
    nextOffset += static_cast<uint32_t>(stop + 1 - next);
    next = stop + 1;
    return true;
}

bool ScriptReader::readQuotedInChunk(int32_t last) {
    return takeValueInChunk(next, last);
}

bool ScriptReader::readFieldInChunk(char letter, int32_t limit) {
    // Most fields stand a few bytes after the last: one look at the next
    // bytes finds the value's start.
    if (static_cast<size_t>(end - next) >= FIELD_WINDOW) {
        if (const uint8_t* value = findFieldValue(next, static_cast<uint8_t>(letter))) {
            return takeValueInChunk(value, limit - 1);
        }
    }
    const uint8_t* at = skipInChunk(next, letter);
    if (at != nullptr) {
        at = skipInChunk(at + 1, '=');
    }
    if (at != nullptr) {
        at = skipInChunk(at + 1, '"');
    }
    return at != nullptr && takeValueInChunk(at + 1, limit - 1);
}

void ScriptReader::copyQuotedText(char* buffer) {
    if (lastQuotedText != buffer) {
        std::memcpy(buffer, lastQuotedText, static_cast<size_t>(lastQuotedRawLength));
        buffer[lastQuotedRawLength] = 0;
        lastQuotedText = buffer;
    }
}

bool ScriptReader::skipPastLineFeed() {
    for (;;) {
        const size_t left = static_cast<size_t>(end - next);
        const void* found = std::memchr(next, '\n', left);
        const uint8_t* stop = found != nullptr ? static_cast<const uint8_t*>(found) + 1 : end;
        nextOffset += static_cast<uint32_t>(stop - next);
        next = stop;
        if (found != nullptr) {
            return true;
        }
        if (!refill()) {
            return false;
        }
    }
}

int32_t ScriptReader::skipComments(char& out) {
    // The '#' has been taken. Every byte of the comment still counts in the
    // position, or the key would slip for everything after it.
    for (;;) {
        if (!skipPastLineFeed()) {
            return READ_END;
        }
        out = '\n';
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

namespace {
// What stops a seek for `wanted` at c: null to skip c, "" for the wanted
// character itself, or the message of a brace or quote that came first.
// The wanted one is tested first, so a brace or quote can be sought.
const char* seekStop(char c, char wanted) {
    if (c == wanted) {
        return "";
    }
    switch (c) {
    case '{':
        return messages::OPEN_BRACE_UNEXPECTED;
    case '}':
        return messages::CLOSE_BRACE_UNEXPECTED;
    case '"':
        return messages::QUOTE_UNEXPECTED;
    default:
        return nullptr;
    }
}
} // namespace

int32_t ScriptReader::stopSeek(char found, const char* message) {
    if (*message == 0) {
        return READ_OK;
    }
    state.noteCause(LoadCause::UnexpectedCharacter, 0, found);
    return syntaxError(message);
}

int32_t ScriptReader::seekCharSlowly(char wanted) {
    const char* message = nullptr;
    char found = 0;
    const int32_t result = scan(0, [&](char c) {
        message = seekStop(c, wanted);
        found = c;
        return message != nullptr;
    });
    if (result != READ_OK) {
        return result;
    }
    return stopSeek(found, message);
}

int32_t ScriptReader::seekCharAfter(char taken, char wanted) {
    const char* message = seekStop(taken, wanted);
    return message != nullptr ? stopSeek(taken, message) : seekChar(wanted);
}

int32_t ScriptReader::readQuotedText(char* buffer, int32_t limit) {
    const int32_t sought = seekChar('"');
    if (sought != READ_OK) {
        return sought;
    }
    const int32_t openedOn = state.line;
    const int32_t last = limit - 1;
    if (readQuotedInChunk(last)) {
        return READ_OK;
    }
    int32_t index = 0;
    bool closed = false;
    // Stops at the closing quote, at the last index, at a line feed (values
    // can't span lines) or at the end of the file (READ_END); the index then
    // stays at the place being filled.
    const int32_t scanned = scan(1, [&](char c) {
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
    if (result != READ_OK) {
        noteQuotedFailure(closed, index == last, scanned == READ_END, limit, openedOn);
    }
    if (result == READ_OK) {
        lastQuotedText = buffer;
        lastQuotedRawLength = index;
        lastQuotedLength = static_cast<int32_t>(std::strlen(buffer));
    }
    return result;
}

int32_t ScriptReader::readQuoted(char* buffer, int32_t limit) {
    const int32_t result = readQuotedText(buffer, limit);
    if (result == READ_OK) {
        copyQuotedText(buffer);
    }
    return result;
}

} // namespace murmex
