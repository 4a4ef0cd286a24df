// The magic first line: the loader's step that reads it, and the same rule
// for any caller.
#include "murmex/magic_line.h"

#include "loader/load_state.h"
#include "loader/magic_line.h"
#include "murmex/script_source.h"

#include <cstring>

namespace murmex {

namespace {
// Characters of the first line compared with the magic; a longer line can't
// match and need not be read any further.
constexpr int32_t MAGIC_LINE_LIMIT = 20;
static_assert(sizeof(SCRIPT_MAGIC) < MAGIC_LINE_LIMIT);
} // namespace

int32_t readMagicLine(ScriptReader& reader) {
    // Only a carriage return ends the first line; comments are removed as
    // anywhere else.
    char text[MAGIC_LINE_LIMIT];
    int32_t count = 0;
    char c = 0;
    do {
        if (reader.readChar(c, 0) != READ_OK) {
            // A source that ends in its first line holds no script: nothing
            // to load, which is not an error.
            return READ_END;
        }
        text[count++] = c;
    } while (c != '\r' && count < MAGIC_LINE_LIMIT);
    text[count - 1] = 0;
    if (std::strcmp(text, SCRIPT_MAGIC) == 0) {
        return READ_OK;
    }
    // A file saved with line feeds alone has the magic and then '\n'.
    constexpr size_t magicLength = sizeof(SCRIPT_MAGIC) - 1;
    const bool lineFeedOnly = static_cast<size_t>(count) > magicLength &&
                              std::memcmp(text, SCRIPT_MAGIC, magicLength) == 0 &&
                              text[magicLength] == '\n';
    reader.noteCause(lineFeedOnly ? LoadCause::FirstLineEndsWithLineFeed : LoadCause::NotAScript);
    return LOAD_BAD_MAGIC;
}

FirstLine readFirstLine(const void* bytes, size_t size, bool descramble) {
    MemorySource source(bytes, size);
    LoadState state;
    // Comments may make the first line long; a small chunk is refilled as
    // often as needed.
    uint8_t chunk[256];
    ScriptReader reader(state, source, chunk, sizeof(chunk), descramble);
    if (!reader.open()) {
        return FirstLine::Other;
    }
    if (readMagicLine(reader) == READ_OK) {
        return FirstLine::Magic;
    }
    return state.detail.cause == LoadCause::FirstLineEndsWithLineFeed
               ? FirstLine::MagicEndedByLineFeed
               : FirstLine::Other;
}

bool startsWithMagicLine(const void* bytes, size_t size, bool descramble) {
    return readFirstLine(bytes, size, descramble) == FirstLine::Magic;
}

} // namespace murmex
