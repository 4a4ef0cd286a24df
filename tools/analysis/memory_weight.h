// How the explorer weighs what it keeps against its memory limit: tables and
// vectors that double are weighed with their next growth, so that the limit
// holds at the moment of growing too, when the old and the new one are both
// held.
#pragma once

#include <cstdint>

namespace murmex::tool {

// A table or vector of `bytes` that doubles when full: itself, and the twice
// as large one that will be held beside it while its entries move over.
inline uint64_t grownTableBytes(uint64_t bytes) {
    return 3 * bytes;
}

// What the allocator keeps beside each block it hands out.
inline constexpr uint64_t ALLOCATION_HEADER = 16;

// A std::deque of `count` elements of `size` bytes: they are kept in blocks
// of up to 512 bytes (one element a block when larger), each block with the
// allocator's header, some 3 % on top of the elements themselves.
inline uint64_t dequeBytes(uint64_t count, uint64_t size) {
    const uint64_t perBlock = size < 512 ? 512 / size : 1;
    const uint64_t blocks = (count + perBlock - 1) / perBlock;
    return blocks * (perBlock * size + ALLOCATION_HEADER);
}

// A node of a std::map or std::set with a short string or a pair as its
// value: the tree's three links and colour, the value, and the allocator's
// own header.
inline constexpr uint64_t MAP_NODE_BYTES = 96;

} // namespace murmex::tool
