// The hash step the explorer's tables share.
#pragma once

#include <cstdint>

namespace murmex::tool {

// splitmix64's finaliser over the running hash: cheap and spreads well.
inline uint64_t mixHash(uint64_t hash, uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    hash ^= hash >> 30;
    hash *= 0xBF58476D1CE4E5B9ULL;
    hash ^= hash >> 27;
    hash *= 0x94D049BB133111EBULL;
    return hash ^ (hash >> 31);
}

} // namespace murmex::tool
