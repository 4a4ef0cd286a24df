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
void addText(Fnv1a& digest, const ScriptModel& script, const char* text) {
    digest.addByte(text == nullptr ? 0 : 1);
    if (text != nullptr) {
        digest.addChars(text, std::strlen(text) + 1);
        digest.addInt32(poolOffset(script, text));
    }
}

void addColor(Fnv1a& digest, const Rgb& color) {
    digest.addByte(color.red);
    digest.addByte(color.green);
    digest.addByte(color.blue);
}

void addUnit(Fnv1a& digest, const ScriptModel& script, const TalkUnit& unit) {
    digest.addInt32(unit.state);
    digest.addInt32(unit.nextState);
    addText(digest, script, unit.question);
    addText(digest, script, unit.answer);
    digest.addInt32(unit.action);
    addText(digest, script, unit.param);
    digest.addInt32(unit.value);
    digest.addInt32(unit.conditionCount);
    for (int32_t i = 0; i < clamped(unit.conditionCount, MAX_CONDITIONS); ++i) {
        const Condition& condition = unit.conditions[i];
        addText(digest, script, condition.variable);
        digest.addByte(condition.op);
        digest.addInt32(condition.value);
    }
}

void addCharacter(Fnv1a& digest, const ScriptModel& script, const Character& character) {
    addText(digest, script, character.name);
    digest.addInt32(character.unitCount);
    for (int32_t u = 0; u < clamped(character.unitCount, MAX_UNITS); ++u) {
        const TalkUnit* unit = character.units[u].get();
        digest.addByte(unit == nullptr ? 0 : 1);
        if (unit != nullptr) {
            addUnit(digest, script, *unit);
        }
    }
}

} // namespace

uint64_t scriptDigest(const ScriptModel& script) {
    Fnv1a digest;
    for (size_t i = 0; i < sizeof(script.title) && script.title[i] != 0; ++i) {
        digest.addByte(static_cast<uint8_t>(script.title[i]));
    }
    digest.addByte(0);
    addColor(digest, script.color);
    addColor(digest, script.textColor);
    digest.addInt32(script.characterCount);
    for (int32_t c = 0; c < clamped(script.characterCount, MAX_CHARACTERS); ++c) {
        const Character* character = script.characters[c].get();
        digest.addByte(character == nullptr ? 0 : 1);
        if (character != nullptr) {
            addCharacter(digest, script, *character);
        }
    }
    return digest.value();
}

} // namespace murmex
