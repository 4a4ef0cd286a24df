// Raw script bytes: whole-file reading, the magic line test and scrambling.
#include "tools/analysis/script_bytes.h"

#include "murmex/magic_line.h"
#include "murmex/scrambling.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace murmex::tool {

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

std::string readFileStart(const std::string& path, size_t limit) {
    std::string bytes(limit, '\0');
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return "";
    }
    file.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<size_t>(file.gcount()));
    return bytes;
}

bool firstLineIsMagic(const std::string& bytes, bool descramble) {
    return startsWithMagicLine(bytes.data(), bytes.size(), descramble);
}

void scrambleInPlace(std::string& bytes) {
    scrambleBytes(bytes.data(), bytes.size());
}

} // namespace murmex::tool
