// The one place that reads a script file: it hands out the characters of the
// file one at a time, descrambled and with comments removed, counts the byte
// position and the lines, and offers the two scanning steps the grammar rests
// on (skipping to a wanted character, reading a quoted value).
#pragma once

#include "loader/byte_scan.h"
#include "loader/load_state.h"
#include "loader/source_fingerprint.h"
#include "murmex/script_source.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace murmex {

// Bytes fetched from the source at once. Callers still see one byte at a
// time; fetching in chunks keeps two passes over a large script near the
// speed of reading the file.
constexpr size_t READ_CHUNK_SIZE = 64 * 1024;

// One reader per loader pass: it takes the pass's bytes from the source into
// the caller's chunk buffer, keeps the pass's position, and counts lines and
// notes failures in the load's state.
class ScriptReader {
  public:
    // `chunk` (capacity bytes, at least one) is the reader's working buffer;
    // it belongs to the caller and must outlive the reader.
    ScriptReader(LoadState& loadState, ScriptSource& bytes, uint8_t* chunkBuffer,
                 size_t chunkCapacity, bool descramble)
        : state(loadState), source(bytes), chunk(chunkBuffer), capacity(chunkCapacity),
          descrambling(descramble) {}
    ~ScriptReader() { source.endPass(); }
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;

    // Starts the pass at the source's first byte. False when the source
    // can't be reached.
    bool open();
    // Counts positions from `offset` on: a scan that reads on from the
    // middle of a text passes the rest of it as the source.
    void startCountingAt(uint32_t offset) { nextOffset = offset; }

    // Takes the next character into out: READ_OK, or READ_END at the end of
    // the source (or a failed read), leaving out alone. With inQuotes 0 a '#'
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
    int32_t seekChar(char wanted) {
        // Most fields stand a few bytes apart on one line: ordinary bytes
        // within the fetched chunk are skipped here, and the general path
        // deals with line feeds, comments, stop characters and the chunk's
        // end. A '#' always opens a comment, so it is never skipped to here.
        const uint8_t* at = wanted == '#' ? end : next;
        while (at != end && *at != static_cast<uint8_t>(wanted) && !FAST_SEEK_STOPS[*at]) {
            ++at;
        }
        nextOffset += static_cast<uint32_t>(at - next);
        next = at;
        if (at != end && *at == static_cast<uint8_t>(wanted) && wanted != '\n') {
            ++next;
            ++nextOffset;
            return READ_OK;
        }
        return seekCharSlowly(wanted);
    }
    // Goes on as seekChar(wanted) would after it had taken `taken`, which
    // the caller took with readChar to look at.
    int32_t seekCharAfter(char taken, char wanted);

    // Skips to the next double quote and reads the value up to the closing
    // one into buffer (at least limit bytes), zero-terminated. READ_OK,
    // READ_END before the opening quote, LOAD_SYNTAX when a brace comes first
    // or the value is not closed on its line, LOAD_LIMIT when the value
    // reaches limit - 1 characters.
    int32_t readQuoted(char* buffer, int32_t limit);

    // The same, for a value the caller only measures or copies on: when the
    // value lies within the fetched chunk it is not copied, and quotedText()
    // points at it there until the next read; otherwise it is in buffer.
    int32_t readQuotedText(char* buffer, int32_t limit);
    // A whole field (its keyword's letter, the '=' and the quoted value) in
    // one sweep over the fetched chunk: true, with the value where
    // readQuotedText leaves it, when all of it lies in the chunk and nothing
    // but ordinary bytes stands between its parts. Otherwise false, having
    // taken nothing, and the caller takes the steps one at a time, which
    // find the same field or say what is wrong.
    bool readFieldInChunk(char letter, int32_t limit);
    // Copies the last value read into buffer, zero-terminated, and makes
    // that its place.
    void copyQuotedText(char* buffer);

    // The last value read, not zero-terminated where it lies in the chunk.
    const char* quotedText() const { return lastQuotedText; }
    // Its length up to its first zero byte, as a string's length.
    int32_t quotedLength() const { return lastQuotedLength; }
    // All its bytes, zero bytes included: the closing quote stands at
    // position() - 1 and the value just before it.
    int32_t quotedRawLength() const { return lastQuotedRawLength; }

    // Offset of the next byte to be taken from the file. Wraps past 4 GiB,
    // which keeps the key aligned since only its low eight bits choose the key.
    uint32_t position() const { return nextOffset; }

    // What this pass has fetched from the source so far.
    const SourceFingerprint& fetched() const { return fingerprint; }
    // Fetches no more than `count` bytes in all this pass: the filling pass
    // reads no further than the measuring pass found bytes.
    void limitFetching(uint64_t count) { fetchLimit = count; }
    // Fetches, unparsed, whatever is left up to the limit, so that a pass
    // that stopped early can still be compared with a whole one.
    void fetchRest();
    // True when the source has a byte beyond the limit.
    bool sourceGoesOn();
    // True when a read failed, as opposed to the source coming to its end;
    // the reader then acts as at the end.
    bool readFailed() const { return failedRead; }

    // The line the next character stands on.
    int32_t line() const { return state.line; }
    // Notes why the load fails, unless a deeper step noted it already.
    void noteCause(LoadCause cause, int32_t number = 0) { state.noteCause(cause, 0, number); }

    // Sets the load's error text and returns LOAD_SYNTAX, for the loader's
    // own syntax checks; the cause is noted unless a deeper step noted one.
    int32_t syntaxError(const char* message, LoadCause cause = LoadCause::None) {
        state.message = message;
        state.noteCause(cause);
        return LOAD_SYNTAX;
    }

  private:
    // The one loop that takes bytes from the file: each byte (descrambled
    // with the key of its offset when its chunk was fetched) is counted in
    // the position, a line feed in the
    // line count, and comments are removed unless inQuotes is set. Every
    // character that remains goes to step, until step returns true (READ_OK)
    // or the file ends (READ_END). The cursor is kept in locals while a
    // fetched chunk lasts, so the loop runs at the speed of the file.
    template <typename Step> int32_t scan(int32_t inQuotes, Step&& step) {
        for (;;) {
            const uint8_t* at = next;
            const uint8_t* stop = end;
            uint32_t offset = nextOffset;
            while (at != stop) {
                // The chunk was descrambled as a whole when it was fetched.
                char c = static_cast<char>(*at++);
                ++offset;
                if (c == '\n') {
                    countLine();
                } else if (c == '#' && inQuotes == 0) {
                    next = at;
                    nextOffset = offset;
                    if (skipComments(c) != READ_OK) {
                        return READ_END;
                    }
                    // The comment may have fetched further chunks.
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
        out = static_cast<char>(*next++);
        ++nextOffset;
        return true;
    }
    // Fetches the next chunk and descrambles it in place, each byte with the
    // key of its own offset. False at the end of the source or the limit.
    bool refill();
    // Fetches up to a chunk of raw bytes into the chunk buffer, counted in
    // the fingerprint; 0 at the end, the limit, or a failed read.
    size_t fetch();

    // Reads a value that closes within the fetched chunk without a line feed
    // in one go. False, having taken nothing, when the byte-wise path must
    // decide.
    bool readQuotedInChunk(int32_t last);

    int32_t seekCharSlowly(char wanted);
    // Ends a seek at `found`: READ_OK for the wanted character (an empty
    // message), else the syntax error of the message.
    int32_t stopSeek(char found, const char* message);

    // The wanted byte at or after from in the fetched chunk when only bytes
    // that seekChar skips come before it; otherwise null.
    const uint8_t* skipInChunk(const uint8_t* from, char wanted) const {
        for (const uint8_t* at = from; at != end; ++at) {
            if (*at == static_cast<uint8_t>(wanted)) {
                return at;
            }
            if (FAST_SEEK_STOPS[*at]) {
                return nullptr;
            }
        }
        return nullptr;
    }
    // Takes the value that starts at `value` in the chunk when it closes
    // there before the last index, as readQuotedInChunk does.
    bool takeValueInChunk(const uint8_t* value, int32_t last);

    // Bytes that the fast skip of seekChar leaves to the general path.
    static constexpr std::array<bool, 256> FAST_SEEK_STOPS = [] {
        std::array<bool, 256> stops{};
        for (const uint8_t c : SEEK_STOPS) {
            stops[c] = true;
        }
        return stops;
    }();
    int32_t skipComments(char& out);
    // Takes every byte up to and including the next line feed; false when
    // the source ends first.
    bool skipPastLineFeed();
    void countLine() {
        // A script can't have 2^31 lines before it exceeds any sane size, but
        // a hostile one may: the count stops rather than overflows.
        if (state.line < INT32_MAX) {
            ++state.line;
        }
    }

    // Notes why a quoted value failed: the end of its line or of the source
    // before the closing quote, or the value reaching the limit.
    void noteQuotedFailure(bool closed, bool tooLong, bool endOfSource, int32_t limit,
                           int32_t openedOn);

    LoadState& state;
    ScriptSource& source;
    uint8_t* chunk;
    size_t capacity;
    bool descrambling;
    uint32_t nextOffset = 0;
    SourceFingerprint fingerprint;
    uint64_t fetchLimit = UINT64_MAX;
    bool failedRead = false;
    // Bytes fetched but not yet taken lie between next and end.
    const uint8_t* next = nullptr;
    const uint8_t* end = nullptr;
    // The last value read: where it is, its length up to a zero byte, and
    // all its bytes.
    const char* lastQuotedText = "";
    int32_t lastQuotedLength = 0;
    int32_t lastQuotedRawLength = 0;
};

} // namespace murmex
