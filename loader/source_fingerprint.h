// A running summary of the bytes a loader pass took from its source: how many
// there were and a 64-bit hash of them. The filling pass must see exactly the
// bytes the measuring pass saw; comparing the two summaries proves it without
// keeping the script. Sources may hand out their bytes in pieces of any size,
// so the hash depends only on the bytes and never on where the pieces break.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

class SourceFingerprint {
  public:
    void add(const uint8_t* bytes, size_t count) {
        total += count;
        // Bytes left over from the last piece are completed to a word first.
        while (count != 0 && pendingCount != 0) {
            addPendingByte(*bytes++);
            --count;
        }
        // Whole words at a time keep the hash far cheaper than the parsing;
        // word n goes to lane n % LANES, so the lanes' multiplications run
        // side by side.
        for (; count >= WORD && words % LANES != 0; count -= WORD, bytes += WORD) {
            mix(littleEndianWord(bytes));
        }
        for (; count >= LANES * WORD; count -= LANES * WORD, bytes += LANES * WORD) {
            for (size_t lane = 0; lane < LANES; ++lane) {
                lanes[lane] = mixed(lanes[lane], littleEndianWord(bytes + lane * WORD));
            }
            words += LANES;
        }
        for (; count >= WORD; count -= WORD, bytes += WORD) {
            mix(littleEndianWord(bytes));
        }
        while (count != 0) {
            addPendingByte(*bytes++);
            --count;
        }
    }

    uint64_t count() const { return total; }

    bool operator==(const SourceFingerprint& other) const {
        for (size_t lane = 0; lane < LANES; ++lane) {
            if (lanes[lane] != other.lanes[lane]) {
                return false;
            }
        }
        return total == other.total && pending == other.pending;
    }

  private:
    static constexpr size_t WORD = sizeof(uint64_t);

    // Compilers turn this into one load where the machine is little-endian.
    static uint64_t littleEndianWord(const uint8_t* bytes) {
        uint64_t word = 0;
        for (size_t i = 0; i < WORD; ++i) {
            word |= uint64_t{bytes[i]} << (8 * i);
        }
        return word;
    }
    void addPendingByte(uint8_t byte) {
        pending |= uint64_t{byte} << (8 * pendingCount);
        if (++pendingCount == WORD) {
            mix(pending);
            pending = 0;
            pendingCount = 0;
        }
    }
    static uint64_t mixed(uint64_t hash, uint64_t word) {
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        return hash ^ (hash >> 29);
    }
    void mix(uint64_t word) {
        uint64_t& lane = lanes[words % LANES];
        lane = mixed(lane, word);
        ++words;
    }

    static constexpr size_t LANES = 4;
    uint64_t total = 0;
    // Whole words mixed so far.
    uint64_t words = 0;
    uint64_t lanes[LANES] = {};
    uint64_t pending = 0;
    size_t pendingCount = 0;
};

} // namespace murmex
