// Construction and destruction of a script model, and finding a character by
// its name.
#include "murmex/script_model.h"

#include <cstring>

namespace murmex {

namespace {
constexpr char DEFAULT_TITLE[] = "Murmex 1.0";
static_assert(sizeof(DEFAULT_TITLE) <= MAX_TITLE + 1);
} // namespace

ScriptModel::ScriptModel() {
    std::memcpy(title, DEFAULT_TITLE, sizeof(DEFAULT_TITLE));
}

ScriptModel::~ScriptModel() {
    // Characters first, then the pool their texts point into.
    for (int32_t i = 0; i < characterCount; ++i) {
        characters[i].reset();
    }
    block.reset();
}

int32_t ScriptModel::indexOfCharacter(const char* name) const {
    if (name == nullptr) {
        return -1;
    }
    for (int32_t i = 0; i < characterCount; ++i) {
        // A character whose block failed to load has no name and is never found.
        const Character* character = characters[i].get();
        if (character != nullptr && character->name != nullptr &&
            std::strcmp(character->name, name) == 0) {
            return i;
        }
    }
    return -1;
}

} // namespace murmex
