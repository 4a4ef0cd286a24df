// The layouts of a saved game, for the code that writes and reads them and
// for their tests. Every number is little-endian. Both versions share the
// frame: magic "MXGS", version (4), total length with the checksum (4),
// script digest (8), then the payload, and last the checksum (8): FNV-1a
// over every byte before it.
// Version 1 refers to the script by number and fits only the script it was
// saved from. Its payload: character count (4), each character's state (4
// each), the view's character (4, -1 for none), its answer's pool offset (4,
// -1 for none), question count (4), each question's unit (4 each), then the
// memory.
// Version 2 refers to the script by names that survive edits and a
// translation. Its payload: character count (4), each character's name and
// its zero (1 to MAX_CHARACTER_NAME + 1) and state (4); the character talked
// to (4, its place in that list, -1 for none); what the view shows (1: 0
// nothing, 1 a unit's answer, 2 a unit's parameter, the name a hand-over
// shows) and, unless nothing, the unit's state (4), its place among its
// character's units of that state (2, from 1) and its shape (8); then the
// memory. The questions are not kept: they follow from the rest.
// The memory, in both: money (4), variable count (4), each occupied slot in
// ascending order as slot (2), name bytes and their zero (2 to NAME_SIZE),
// value (4).
#pragma once

#include "engine/fnv1a.h"
#include "murmex/game_state.h"

#include <cstddef>
#include <cstdint>

namespace murmex::saved_game {

constexpr uint8_t MAGIC[4] = {'M', 'X', 'G', 'S'};
// Raised with every change of the layout, so that a saved game in a layout
// this code does not know is refused instead of misread. Magic, version and
// length keep their places in every version.
constexpr uint32_t VERSION_1 = 1;
constexpr uint32_t VERSION_2 = 2;
// The version written.
constexpr uint32_t VERSION = VERSION_2;
constexpr size_t VERSION_OFFSET = 4;
constexpr size_t LENGTH_OFFSET = 8;
constexpr size_t DIGEST_OFFSET = 12;
constexpr size_t PAYLOAD_OFFSET = 20;
constexpr size_t CHECKSUM_BYTES = 8;

// Bytes of one stored variable at most: slot, longest name with its zero, value.
constexpr size_t VARIABLE_MAX_BYTES = 2 + NAME_SIZE + 4;
// Money and the variable count, then every slot holding a longest name.
constexpr size_t MEMORY_MAX_BYTES = 2 * 4 + MEMORY_SLOTS * VARIABLE_MAX_BYTES;
// Version 1: two counts, the view's character and answer: four 4-byte
// fields besides the states, questions and memory.
constexpr size_t MAX_BYTES = PAYLOAD_OFFSET + 4 * 4 + 4 * MAX_CHARACTERS + 4 * MAX_QUESTIONS +
                             MEMORY_MAX_BYTES + CHECKSUM_BYTES;
static_assert(MAX_BYTES == GAME_STATE_MAX_BYTES);
// Version 2: the character count and the one talked to, every character
// with a longest name, and the unit shown.
constexpr size_t CHARACTER_MAX_BYTES = MAX_CHARACTER_NAME + 1 + 4;
constexpr size_t SHOWN_MAX_BYTES = 1 + 4 + 2 + 8;
constexpr size_t VERSION_2_MAX_BYTES = PAYLOAD_OFFSET + 2 * 4 +
                                       MAX_CHARACTERS * CHARACTER_MAX_BYTES + SHOWN_MAX_BYTES +
                                       MEMORY_MAX_BYTES + CHECKSUM_BYTES;
static_assert(VERSION_2_MAX_BYTES == GAME_STATE_V2_MAX_BYTES);

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
