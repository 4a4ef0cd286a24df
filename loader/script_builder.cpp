// Filling a script model: its pool and its records.
#include "loader/script_builder.h"

#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace murmex {

bool ScriptBuilder::reservePool(int32_t size) {
    // Texts of a loaded script point into the pool the model holds: it must stay.
    if (size < 0 || model.block != nullptr || model.characterCount != 0) {
        return false;
    }
    std::unique_ptr<char[]> pool(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (pool == nullptr) {
        return false;
    }
    model.block = std::move(pool);
    model.poolSize = static_cast<uint32_t>(size);
    used = 0;
    return true;
}

const char* ScriptBuilder::addString(const char* text, size_t length) {
    const size_t size = length + 1;
    const uint32_t filled = static_cast<uint32_t>(used);
    const uint32_t poolSize = model.poolSize;
    if (used < 0 || filled > poolSize || size > poolSize - filled) {
        return nullptr;
    }
    char* copy = model.block.get() + filled;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    used = static_cast<int32_t>(filled + size);
    return copy;
}

void ScriptBuilder::zeroUnfilled() {
    const uint32_t filled = used < 0 ? 0 : static_cast<uint32_t>(used);
    if (model.block != nullptr && filled < model.poolSize) {
        std::memset(model.block.get() + filled, 0, model.poolSize - filled);
    }
}

Character* ScriptBuilder::addCharacter() {
    Character* character = new (std::nothrow) Character;
    if (character != nullptr) {
        model.characters[model.characterCount].reset(character);
        ++model.characterCount;
    }
    return character;
}

bool ScriptBuilder::addUnit(Character& character, const TalkUnit& unit) {
    TalkUnit* copy = new (std::nothrow) TalkUnit(unit);
    if (copy == nullptr) {
        return false;
    }
    character.units[character.unitCount].reset(copy);
    ++character.unitCount;
    return true;
}

} // namespace murmex
