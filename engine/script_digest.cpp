// The digest that binds a saved game to the script it was saved from: a
// saved game refers to characters, units and pooled texts by number, which
// mean the same only in the same script, loaded the same way.
#include "murmex/game_state.h"

#include "engine/fnv1a.h"
#include "engine/string_pool.h"

#include <cstring>

namespace murmex {

namespace {

int32_t clamped(int32_t count, int32_t limit) {
    return count < 0 ? 0 : (count > limit ? limit : count);
}

// A text with its zero, or a mark that there is none, and where it stands in
// the pool: a saved answer is an offset there.
void addText(Fnv1a& digest, const ConversationEngine& engine, const char* text) {
    digest.addByte(text == nullptr ? 0 : 1);
    if (text != nullptr) {
        digest.addChars(text, std::strlen(text) + 1);
        digest.addInt32(poolOffset(engine, text));
    }
}

void addColor(Fnv1a& digest, const Rgb& color) {
    digest.addByte(color.red);
    digest.addByte(color.green);
    digest.addByte(color.blue);
}

void addUnit(Fnv1a& digest, const ConversationEngine& engine, const TalkUnit& unit) {
    digest.addInt32(unit.state);
    digest.addInt32(unit.nextState);
    addText(digest, engine, unit.question);
    addText(digest, engine, unit.answer);
    digest.addInt32(unit.action);
    addText(digest, engine, unit.param);
    digest.addInt32(unit.value);
    digest.addInt32(unit.conditionCount);
    for (int32_t i = 0; i < clamped(unit.conditionCount, MAX_CONDITIONS); ++i) {
        const Condition& condition = unit.conditions[i];
        addText(digest, engine, condition.variable);
        digest.addByte(condition.op);
        digest.addInt32(condition.value);
    }
}

void addCharacter(Fnv1a& digest, const ConversationEngine& engine, const Character& character) {
    addText(digest, engine, character.name);
    digest.addInt32(character.unitCount);
    for (int32_t u = 0; u < clamped(character.unitCount, MAX_UNITS); ++u) {
        const TalkUnit* unit = character.units[u].get();
        digest.addByte(unit == nullptr ? 0 : 1);
        if (unit != nullptr) {
            addUnit(digest, engine, *unit);
        }
    }
}

} // namespace

uint64_t scriptDigest(const ConversationEngine& engine) {
    Fnv1a digest;
    for (size_t i = 0; i < sizeof(engine.title) && engine.title[i] != 0; ++i) {
        digest.addByte(static_cast<uint8_t>(engine.title[i]));
    }
    digest.addByte(0);
    addColor(digest, engine.color);
    addColor(digest, engine.textColor);
    digest.addInt32(engine.characterCount);
    for (int32_t c = 0; c < clamped(engine.characterCount, MAX_CHARACTERS); ++c) {
        const Character* character = engine.characters[c].get();
        digest.addByte(character == nullptr ? 0 : 1);
        if (character != nullptr) {
            addCharacter(digest, engine, *character);
        }
    }
    return digest.value();
}

} // namespace murmex
