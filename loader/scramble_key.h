// The key that scrambles and descrambles script files. Every scrambled
// script ever written depends on these bytes: never change them.
#pragma once

#include <cstdint>

namespace murmex {

// Bytes in the key table: 256 entries of four bytes each.
constexpr int32_t SCRAMBLE_KEY_SIZE = 1024;
// Stride of the table: key byte k is the first byte of entry k, at offset 4k;
// the other three bytes of an entry take no part in descrambling.
constexpr int32_t SCRAMBLE_KEY_STRIDE = 4;

extern const uint8_t scrambleKey[SCRAMBLE_KEY_SIZE];

// Key byte for the file byte at `offset`: the key repeats every 256 bytes.
inline uint8_t scrambleKeyAt(uint32_t offset) {
    return scrambleKey[(offset & 255u) * SCRAMBLE_KEY_STRIDE];
}

} // namespace murmex
