// The two byte sources the library offers: a file and bytes in memory.
#include "murmex/script_source.h"

#include <cstring>

namespace murmex {

bool FileSource::startPass() noexcept {
    endPass();
    file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return false;
    }
    // The reader fetches large chunks itself; a second buffer would only copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return true;
}

size_t FileSource::read(uint8_t* into, size_t capacity) noexcept {
    return file == nullptr ? 0 : std::fread(into, 1, capacity, file);
}

bool FileSource::failed() const noexcept {
    return file != nullptr && std::ferror(file) != 0;
}

void FileSource::endPass() noexcept {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

size_t MemorySource::read(uint8_t* into, size_t capacity) noexcept {
    const size_t left = size - offset;
    const size_t count = capacity < left ? capacity : left;
    if (count != 0) {
        std::memcpy(into, data + offset, count);
        offset += count;
    }
    return count;
}

} // namespace murmex
