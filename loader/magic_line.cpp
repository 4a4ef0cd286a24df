// The magic-line rule for any caller, run by the loader's own code.
#include "murmex/magic_line.h"

#include "loader/script_loader.h"

namespace murmex {

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
    if (ScriptLoader::readMagicLine(reader) == READ_OK) {
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
