// Reading a source through the scramble transform, chunk by chunk, with the
// same loop the reader runs on what it fetches.
#include "murmex/authoring/scrambling_source.h"

#include "loader/byte_scan.h"

namespace murmex {

bool ScramblingSource::startPass() noexcept {
    offset = 0;
    return inner.startPass();
}

size_t ScramblingSource::read(uint8_t* into, size_t capacity) noexcept {
    const size_t got = inner.read(into, capacity);
    // A source that claims more than it was given room for is not trusted
    // beyond the room.
    const size_t kept = got < capacity ? got : capacity;
    // Offsets past 4 GiB wrap, which is harmless: the key repeats every 256 bytes.
    descrambleBytes(into, kept, offset);
    offset += static_cast<uint32_t>(kept);
    return kept;
}

} // namespace murmex
