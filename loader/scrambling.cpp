// The scramble transform and the magic-line rule, offered to every caller
// through the same code the loader itself runs.
#include "murmex/scrambling.h"

#include "loader/byte_scan.h"
#include "loader/script_loader.h"
#include "murmex/magic_line.h"

namespace murmex {

void scrambleBytes(void* bytes, size_t count, uint32_t firstOffset) {
    descrambleBytes(static_cast<uint8_t*>(bytes), count, firstOffset);
}

bool startsWithMagicLine(const void* bytes, size_t size, bool descramble) {
    MemorySource source(bytes, size);
    LoadState state;
    // Comments may make the first line long; a small chunk is refilled as
    // often as needed.
    uint8_t chunk[256];
    ScriptReader reader(state, source, chunk, sizeof(chunk), descramble);
    return reader.open() && ScriptLoader::readMagicLine(reader) == READ_OK;
}

} // namespace murmex
