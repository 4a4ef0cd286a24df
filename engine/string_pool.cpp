// Offsets into the script's string pool and back.
#include "engine/string_pool.h"

#include <cstring>
#include <functional>

namespace murmex {

namespace {

// Bytes of the pool that may hold texts: the whole block, which a load fills
// exactly and, when it stops early, zeroes behind the texts it made.
int32_t filledBytes(const ScriptModel& script) {
    return script.block == nullptr ? 0 : static_cast<int32_t>(script.blockSize());
}

} // namespace

int32_t poolOffset(const ScriptModel& script, const char* text) {
    const int32_t filled = filledBytes(script);
    if (text == nullptr || filled == 0) {
        return -1;
    }
    // std::less orders pointers into different objects too, where < does not.
    const std::less<const char*> before;
    const char* begin = script.block.get();
    if (before(text, begin) || !before(text, begin + filled)) {
        return -1;
    }
    return static_cast<int32_t>(text - begin);
}

const char* pooledTextAt(const ScriptModel& script, int32_t offset) {
    const int32_t filled = filledBytes(script);
    if (offset < 0 || offset >= filled) {
        return nullptr;
    }
    const char* begin = script.block.get();
    // Texts are stored one after another, each with its zero.
    const bool startsText = offset == 0 || begin[offset - 1] == 0;
    const size_t rest = static_cast<size_t>(filled - offset);
    if (!startsText || std::memchr(begin + offset, 0, rest) == nullptr) {
        return nullptr;
    }
    return begin + offset;
}

} // namespace murmex
