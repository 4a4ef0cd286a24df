// The one place that reads a script file: it hands out the characters of the
// file one at a time, descrambled and with comments removed, counts the byte
// position and the lines, and offers the two scanning steps the grammar rests
// on (skipping to a wanted character, reading a quoted value).
#pragma once

#include "engine/conversation_engine.h"
#include "loader/scramble_key.h"

#include <cstdint>
#include <cstdio>

namespace murmex {

// Results of the reader; the loader passes them on with the same meaning.
constexpr int32_t READ_OK = 0;
constexpr int32_t READ_END = 1;

// Bytes fetched from the file at once. Callers still see one byte at a time;
// fetching in blocks keeps two passes over a large script near the speed of
// reading the file.
constexpr size_t READ_BLOCK_SIZE = 64 * 1024;

// One reader per loader pass: it owns the open file and the pass's position,
// and works on the engine's `line`, `errorMessage` and `descramble`.
class ScriptReader {
public:
    explicit ScriptReader(ConversationEngine& engine) : engine(engine) {}
    ~ScriptReader();
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;

    // Opens the file in binary mode, positioned at its first byte. False when
    // it can't be opened.
    bool open(const char* fileName);

    // Takes the next character into out: READ_OK, or READ_END at the end of
    // the file (or a failed read), leaving out alone. With inQuotes 0 a '#'
    // starts a comment that runs to the end of its line and is never handed
    // out; with inQuotes 1 it is an ordinary character.
    int32_t readChar(char& out, int32_t inQuotes) {
        return scan(inQuotes, [&out](char c) {
            out = c;
            return true;
        });
    }

    // Skips to the wanted character and consumes it: READ_OK, READ_END, or
    // LOAD_SYNTAX when a brace or double quote other than the wanted one
    // comes first (it has been consumed too).
    int32_t seekChar(char wanted);

    // Skips to the next double quote and reads the value up to the closing
    // one into buffer (at least limit bytes), zero-terminated. READ_OK,
    // READ_END before the opening quote, LOAD_SYNTAX when a brace comes first
    // or the value is not closed on its line, LOAD_LIMIT when the value
    // reaches limit - 1 characters.
    int32_t readQuoted(char* buffer, int32_t limit);

    // The byte as it stands in the file at `offset`, descrambled when the
    // engine asks for it. Scrambling is exclusive-or with the key byte of the
    // offset, so the same step also scrambles a plain file.
    void descrambleByte(char& out, uint8_t byte, uint32_t offset) const {
        out = descrambled(byte, offset, engine.descramble != 0);
    }

    // Offset of the next byte to be taken from the file. Wraps past 4 GiB,
    // which keeps the key aligned since only its low eight bits choose the key.
    uint32_t position() const { return nextOffset; }

    // Sets the engine's error text and returns LOAD_SYNTAX, for the loader's
    // own syntax checks.
    int32_t syntaxError(const char* message) {
        engine.errorMessage = message;
        return LOAD_SYNTAX;
    }

private:
    static char descrambled(uint8_t byte, uint32_t offset, bool descrambling) {
        return static_cast<char>(descrambling ? byte ^ scrambleKeyAt(offset) : byte);
    }

    // The one loop that takes bytes from the file: each byte is descrambled
    // with the key of its offset, counted in the position, a line feed in the
    // line count, and comments are removed unless inQuotes is set. Every
    // character that remains goes to step, until step returns true (READ_OK)
    // or the file ends (READ_END). The cursor is kept in locals while a
    // fetched block lasts, so the loop runs at the speed of the file.
    template <typename Step> int32_t scan(int32_t inQuotes, Step&& step) {
        for (;;) {
            const uint8_t* at = next;
            const uint8_t* stop = end;
            uint32_t offset = nextOffset;
            const bool descrambling = engine.descramble != 0;
            while (at != stop) {
                const uint8_t byte = *at++;
                char c = descrambled(byte, offset, descrambling);
                ++offset;
                if (c == '\n') {
                    countLine();
                } else if (c == '#' && inQuotes == 0) {
                    next = at;
                    nextOffset = offset;
                    if (skipComments(c) != READ_OK) {
                        return READ_END;
                    }
                    // The comment may have fetched further blocks.
                    at = next;
                    stop = end;
                    offset = nextOffset;
                }
                if (step(c)) {
                    next = at;
                    nextOffset = offset;
                    return READ_OK;
                }
            }
            next = at;
            nextOffset = offset;
            if (!refill()) {
                return READ_END;
            }
        }
    }

    // Takes one byte from the file, descrambled, and advances the position.
    bool takeByte(char& out) {
        if (next == end && !refill()) {
            return false;
        }
        descrambleByte(out, *next++, nextOffset++);
        return true;
    }
    bool refill();
    int32_t skipComments(char& out);
    void countLine() {
        // A script can't have 2^31 lines before it exceeds any sane size, but
        // a hostile one may: the count stops rather than overflows.
        if (engine.line < INT32_MAX) {
            ++engine.line;
        }
    }

    ConversationEngine& engine;
    std::FILE* file = nullptr;
    uint32_t nextOffset = 0;
    // Bytes fetched but not yet taken lie between next and end.
    const uint8_t* next = nullptr;
    const uint8_t* end = nullptr;
    uint8_t buffer[READ_BLOCK_SIZE];
};

} // namespace murmex
