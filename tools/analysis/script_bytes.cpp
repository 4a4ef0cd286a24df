// Raw script bytes: the magic line test and scrambling.
#include "tools/analysis/script_bytes.h"

#include "murmex/magic_line.h"
#include "murmex/scrambling.h"

namespace murmex::tool {

bool firstLineIsMagic(const std::string& bytes, bool descramble) {
    return startsWithMagicLine(bytes.data(), bytes.size(), descramble);
}

void scrambleInPlace(std::string& bytes) {
    scrambleBytes(bytes.data(), bytes.size());
}

} // namespace murmex::tool
