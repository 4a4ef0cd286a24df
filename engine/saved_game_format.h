// The layout of a saved game, for the code that writes and reads it and for
// its tests. Every number is little-endian:
//   magic "MXGS", version (4), total length with the checksum (4),
//   script digest (8), then the payload:
//   character count (4), each character's state (4 each), the view's
//   character (4, -1 for none), its answer's pool offset (4, -1 for none),
//   question count (4), each question's unit (4 each), money (4),
//   variable count (4), each occupied slot in ascending order as
//   slot (2), name bytes and their zero (2 to NAME_SIZE), value (4),
//   and last the checksum (8): FNV-1a over every byte before it.
#pragma once

#include "engine/fnv1a.h"
#include "murmex/game_state.h"

#include <cstddef>
#include <cstdint>

namespace murmex::saved_game {

constexpr uint8_t MAGIC[4] = {'M', 'X', 'G', 'S'};
// Raised with every change of the layout, so that a saved game in another
// layout is refused instead of misread. Magic, version and length keep their
// places in every version.
constexpr uint32_t VERSION = 1;
constexpr size_t VERSION_OFFSET = 4;
constexpr size_t LENGTH_OFFSET = 8;
constexpr size_t DIGEST_OFFSET = 12;
constexpr size_t PAYLOAD_OFFSET = 20;
constexpr size_t CHECKSUM_BYTES = 8;

// Bytes of one stored variable at most: slot, longest name with its zero, value.
constexpr size_t VARIABLE_MAX_BYTES = 2 + NAME_SIZE + 4;
// Three counts, the view's character and answer, and money: six 4-byte
// fields besides the states, questions and variables.
constexpr size_t MAX_BYTES = PAYLOAD_OFFSET + 6 * 4 + 4 * MAX_CHARACTERS + 4 * MAX_QUESTIONS +
                             MEMORY_SLOTS * VARIABLE_MAX_BYTES + CHECKSUM_BYTES;
static_assert(MAX_BYTES == GAME_STATE_MAX_BYTES);

inline uint64_t checksumOf(const uint8_t* bytes, size_t size) {
    Fnv1a checksum;
    checksum.addBytes(bytes, size);
    return checksum.value();
}

inline uint64_t getLittleEndian(const uint8_t* at, size_t bytes) {
    uint64_t number = 0;
    for (size_t i = 0; i < bytes; ++i) {
        number |= static_cast<uint64_t>(at[i]) << (8 * i);
    }
    return number;
}

inline void putLittleEndian(uint8_t* at, uint64_t number, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        at[i] = static_cast<uint8_t>(number >> (8 * i));
    }
}

// Completes `size` bytes laid out as above: writes the length and, into the
// last CHECKSUM_BYTES, the checksum. `size` is at least PAYLOAD_OFFSET +
// CHECKSUM_BYTES.
inline void seal(uint8_t* bytes, size_t size) {
    putLittleEndian(bytes + LENGTH_OFFSET, size, 4);
    const size_t checked = size - CHECKSUM_BYTES;
    putLittleEndian(bytes + checked, checksumOf(bytes, checked), CHECKSUM_BYTES);
}

} // namespace murmex::saved_game
