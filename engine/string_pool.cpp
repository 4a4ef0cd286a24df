// Offsets into the engine's string pool and back.
#include "engine/string_pool.h"

#include <cstring>
#include <functional>

namespace murmex {

namespace {

// Bytes of the pool that hold texts: what the loader filled, never more than
// the block.
int32_t filledBytes(const ConversationEngine& engine) {
    if (engine.block == nullptr || engine.used <= 0) {
        return 0;
    }
    const uint32_t filled = static_cast<uint32_t>(engine.used);
    return static_cast<int32_t>(filled < engine.blockSize() ? filled : engine.blockSize());
}

} // namespace

int32_t poolOffset(const ConversationEngine& engine, const char* text) {
    const int32_t filled = filledBytes(engine);
    if (text == nullptr || filled == 0) {
        return -1;
    }
    // std::less orders pointers into different objects too, where < does not.
    const std::less<const char*> before;
    const char* begin = engine.block.get();
    if (before(text, begin) || !before(text, begin + filled)) {
        return -1;
    }
    return static_cast<int32_t>(text - begin);
}

const char* pooledTextAt(const ConversationEngine& engine, int32_t offset) {
    const int32_t filled = filledBytes(engine);
    if (offset < 0 || offset >= filled) {
        return nullptr;
    }
    const char* begin = engine.block.get();
    // Texts are stored one after another, each with its zero.
    const bool startsText = offset == 0 || begin[offset - 1] == 0;
    const size_t rest = static_cast<size_t>(filled - offset);
    if (!startsText || std::memchr(begin + offset, 0, rest) == nullptr) {
        return nullptr;
    }
    return begin + offset;
}

} // namespace murmex
