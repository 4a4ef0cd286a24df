// Counting the bytes the string pool will need, without ever overflowing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

// Adds the size of one pooled text (its length + 1) to the measured total.
// False, leaving `used` alone, when the total would pass the largest signed
// 32-bit count: such a pool can't be held, and the load must say so rather
// than wrap around to a small pool.
inline bool addToPoolSize(int32_t& used, size_t textSize) {
    if (used < 0 || textSize > static_cast<size_t>(INT32_MAX - used)) {
        return false;
    }
    used += static_cast<int32_t>(textSize);
    return true;
}

} // namespace murmex
