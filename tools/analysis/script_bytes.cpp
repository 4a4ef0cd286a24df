// Raw script bytes: whole-file reading, the magic line test and scrambling.
#include "tools/analysis/script_bytes.h"

#include "loader/scramble_key.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace murmex::tool {

namespace {

uint8_t byteAt(const std::string& bytes, size_t offset, bool descramble) {
    const auto byte = static_cast<uint8_t>(bytes[offset]);
    // The key repeats every 256 bytes, so cutting the offset to 32 bits is harmless.
    return descramble ? static_cast<uint8_t>(byte ^ scrambleKeyAt(static_cast<uint32_t>(offset)))
                      : byte;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::error_code status;
    if (std::filesystem::is_directory(path, status)) {
        error = "is a folder";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = "read error";
        return false;
    }
    return true;
}

bool firstLineIsMagic(const std::string& bytes, bool descramble) {
    const size_t magicLength = std::strlen(SCRIPT_MAGIC);
    std::string line;
    bool inComment = false;
    for (size_t offset = 0; offset < bytes.size(); ++offset) {
        const uint8_t byte = byteAt(bytes, offset, descramble);
        // The loader lets comments stand even in the first line.
        if (inComment) {
            inComment = byte != '\n';
            continue;
        }
        if (byte == '#') {
            inComment = true;
            continue;
        }
        // Only a carriage return ends the first line.
        if (byte == '\r') {
            return line == SCRIPT_MAGIC;
        }
        line += static_cast<char>(byte);
        if (line.size() > magicLength) {
            return false;
        }
    }
    return false;
}

void scrambleInPlace(std::string& bytes) {
    for (size_t offset = 0; offset < bytes.size(); ++offset) {
        bytes[offset] = static_cast<char>(byteAt(bytes, offset, true));
    }
}

int32_t lineAtEnd(const std::string& bytes, bool descramble) {
    int32_t line = 1;
    for (size_t offset = 0; offset < bytes.size(); ++offset) {
        if (byteAt(bytes, offset, descramble) == '\n' && line < INT32_MAX) {
            ++line;
        }
    }
    return line;
}

} // namespace murmex::tool
