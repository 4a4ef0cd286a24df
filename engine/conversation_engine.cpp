// Construction, destruction and the string pool of the engine.
#include "murmex/conversation_engine.h"

#include <cstring>
#include <new>
#include <utility>

namespace murmex {

namespace {
constexpr char DEFAULT_TITLE[] = "Murmex 1.0";
static_assert(sizeof(DEFAULT_TITLE) <= MAX_TITLE + 1);
} // namespace

ConversationEngine::ConversationEngine() {
    std::memcpy(title, DEFAULT_TITLE, sizeof(DEFAULT_TITLE));
}

ConversationEngine::~ConversationEngine() {
    // Characters first, then the pool their texts point into.
    for (int32_t i = 0; i < characterCount; ++i) {
        characters[i].reset();
    }
    block.reset();
}

bool ConversationEngine::reservePool(int32_t size) {
    // Texts of a loaded script point into the pool we hold: it must stay.
    if (size < 0 || block != nullptr || characterCount != 0) {
        return false;
    }
    std::unique_ptr<char[]> pool(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (pool == nullptr) {
        return false;
    }
    block = std::move(pool);
    poolSize = static_cast<uint32_t>(size);
    used = 0;
    return true;
}

const char* ConversationEngine::addString(const char* text) {
    return addString(text, std::strlen(text));
}

const char* ConversationEngine::addString(const char* text, size_t length) {
    const size_t size = length + 1;
    const uint32_t filled = static_cast<uint32_t>(used);
    if (used < 0 || filled > poolSize || size > poolSize - filled) {
        return nullptr;
    }
    char* copy = block.get() + filled;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    used = static_cast<int32_t>(filled + size);
    return copy;
}

} // namespace murmex
