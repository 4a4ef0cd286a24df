// 64-bit FNV-1a, fed field by field: the script digest and the checksum of a
// saved game. Any single changed byte changes the result.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

class Fnv1a {
  public:
    void addByte(uint8_t byte) { hash = (hash ^ byte) * PRIME; }
    void addBytes(const uint8_t* bytes, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            addByte(bytes[i]);
        }
    }
    void addChars(const char* text, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            addByte(static_cast<uint8_t>(text[i]));
        }
    }
    // Little-endian, so the digest is the same on every machine.
    void addInt32(int32_t number) {
        const uint32_t bits = static_cast<uint32_t>(number);
        for (int shift = 0; shift < 32; shift += 8) {
            addByte(static_cast<uint8_t>(bits >> shift));
        }
    }
    uint64_t value() const { return hash; }

  private:
    static constexpr uint64_t OFFSET_BASIS = 0xCBF29CE484222325ull;
    static constexpr uint64_t PRIME = 0x100000001B3ull;
    uint64_t hash = OFFSET_BASIS;
};

} // namespace murmex
