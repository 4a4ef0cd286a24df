// Little-endian fields of a saved game, written and read. Reading is fed
// whatever a game hands it, so it never reads past its range.
#pragma once

#include "engine/saved_game_format.h"
#include "murmex/memory_store.h"

#include <cstddef>
#include <cstdint>

namespace murmex::saved_game {

// Writes little-endian fields; without an output it only counts them, so that
// measuring and writing are the same code.
class ByteWriter {
  public:
    explicit ByteWriter(uint8_t* out) : output(out) {}
    void putUint(uint64_t number, size_t bytes) {
        if (output != nullptr) {
            putLittleEndian(output + at, number, bytes);
        }
        at += bytes;
    }
    void putByte(uint8_t byte) { putUint(byte, 1); }
    void putInt32(int32_t number) { putUint(static_cast<uint32_t>(number), 4); }
    // The name's bytes up to `limit`, then its zero.
    void putName(const char* name, int32_t limit) {
        for (int32_t i = 0; i < limit && name[i] != 0; ++i) {
            putByte(static_cast<uint8_t>(name[i]));
        }
        putByte(0);
    }
    size_t size() const { return at; }

  private:
    uint8_t* output;
    size_t at = 0;
};

// Reads little-endian fields from a range. Reading past its end gives zeros and
// marks the reader failed for good, so a caller checks once at the end.
class ByteReader {
  public:
    ByteReader(const uint8_t* bytes, size_t size) : data(bytes), end(size) {}
    uint64_t uint(size_t bytes) {
        if (failed || end - at < bytes) {
            failed = true;
            return 0;
        }
        at += bytes;
        return getLittleEndian(data + at - bytes, bytes);
    }
    uint8_t byte() { return static_cast<uint8_t>(uint(1)); }
    uint32_t uint32() { return static_cast<uint32_t>(uint(4)); }
    int32_t int32() { return static_cast<int32_t>(uint32()); }
    // A name and its zero into `out`; false when no zero comes within its size.
    template <size_t N> bool name(char (&out)[N]) {
        for (char& c : out) {
            c = static_cast<char>(byte());
            if (c == 0) {
                return true;
            }
        }
        return false;
    }
    bool ok() const { return !failed; }
    bool atEnd() const { return at == end; }

  private:
    const uint8_t* data;
    size_t end;
    size_t at = 0;
    bool failed = false;
};

} // namespace murmex::saved_game
