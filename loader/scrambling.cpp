// The scramble transform, offered to every caller through the same loop the
// reader runs on each fetched chunk.
#include "murmex/scrambling.h"

#include "loader/byte_scan.h"

namespace murmex {

void scrambleBytes(void* bytes, size_t count, uint32_t firstOffset) {
    descrambleBytes(static_cast<uint8_t*>(bytes), count, firstOffset);
}

} // namespace murmex
