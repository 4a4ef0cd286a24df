// Names of characters and talk units that survive edits elsewhere in the
// script. Everything is a scan of at most MAX_CHARACTERS or MAX_UNITS entries
// and allocates nothing.
#include "murmex/unit_identity.h"

#include "engine/fnv1a.h"

#include <cstring>

namespace murmex {

namespace {

bool sameName(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

const char* nameOf(const ScriptModel& script, int32_t index) {
    const Character* character = script.characters[index].get();
    return character != nullptr ? character->name : nullptr;
}

bool characterInRange(const ScriptModel& script, int32_t index) {
    return index >= 0 && index < script.characterCount && index < MAX_CHARACTERS;
}

bool unitInRange(const Character& character, int32_t index) {
    return index >= 0 && index < character.unitCount && index < MAX_UNITS &&
           character.units[index] != nullptr;
}

void addText(Fnv1a& digest, const char* text) {
    digest.addByte(text == nullptr ? 0 : 1);
    if (text != nullptr) {
        digest.addChars(text, std::strlen(text) + 1);
    }
}

} // namespace

int32_t nameOccurrence(const ScriptModel& script, int32_t index) {
    if (!characterInRange(script, index) || nameOf(script, index) == nullptr) {
        return 0;
    }
    int32_t occurrence = 1;
    for (int32_t c = 0; c < index; ++c) {
        occurrence += sameName(nameOf(script, c), nameOf(script, index)) ? 1 : 0;
    }
    return occurrence;
}

int32_t findNameOccurrence(const ScriptModel& script, const char* name, int32_t occurrence) {
    int32_t seen = 0;
    for (int32_t c = 0; characterInRange(script, c); ++c) {
        if (sameName(nameOf(script, c), name) && ++seen == occurrence) {
            return c;
        }
    }
    return -1;
}

int32_t placeInState(const Character& character, int32_t unitIndex) {
    if (!unitInRange(character, unitIndex)) {
        return 0;
    }
    const int32_t state = character.units[unitIndex]->state;
    int32_t place = 1;
    for (int32_t u = 0; u < unitIndex; ++u) {
        place += unitInRange(character, u) && character.units[u]->state == state ? 1 : 0;
    }
    return place;
}

int32_t unitAtPlace(const Character& character, int32_t state, int32_t place) {
    int32_t seen = 0;
    for (int32_t u = 0; unitInRange(character, u); ++u) {
        if (character.units[u]->state == state && ++seen == place) {
            return u;
        }
    }
    return -1;
}

uint64_t unitShape(const TalkUnit& unit) {
    Fnv1a digest;
    digest.addInt32(unit.state);
    digest.addInt32(unit.nextState);
    digest.addByte(unit.question != nullptr && unit.question[0] != 0 ? 1 : 0);
    digest.addInt32(unit.action);
    addText(digest, unit.action == ACT_NONE ? nullptr : unit.param);
    digest.addInt32(unit.value);
    const int32_t count = unit.conditionCount < 0                ? 0
                          : unit.conditionCount > MAX_CONDITIONS ? MAX_CONDITIONS
                                                                 : unit.conditionCount;
    digest.addInt32(count);
    for (int32_t i = 0; i < count; ++i) {
        addText(digest, unit.conditions[i].variable);
        digest.addByte(unit.conditions[i].op);
        digest.addInt32(unit.conditions[i].value);
    }
    return digest.value();
}

} // namespace murmex
