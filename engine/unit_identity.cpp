// Names of characters and talk units that survive edits elsewhere in the
// script. Everything is a scan of at most MAX_CHARACTERS or MAX_UNITS entries
// and allocates nothing.
#include "murmex/unit_identity.h"

#include "engine/fnv1a.h"
#include "murmex/authoring/script_syntax.h"
#include "murmex/engine/shown_unit.h"
#include "murmex/script_text.h"
#include "text/fixed_format.h"

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

using NameText = char[decodedCapacity(MAX_CHARACTER_NAME)];

void decodeName(const ScriptModel& script, int32_t index, NameText& out) {
    const char* name = nameOf(script, index);
    decodeScriptText(name, name != nullptr ? std::strlen(name) : 0, out, sizeof out);
}

// Whether a character's decoded name is exactly `text`.
bool someoneIsNamed(const ScriptModel& script, const char* text) {
    NameText name;
    for (int32_t c = 0; characterInRange(script, c); ++c) {
        decodeName(script, c, name);
        if (std::strcmp(name, text) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int32_t characterIdSuffix(const ScriptModel& script, int32_t index) {
    if (nameOccurrence(script, index) <= 1) {
        return 0;
    }
    NameText target;
    decodeName(script, index, target);
    // Every repeat of the decoded name before this one took a suffix; each
    // starts from its own occurrence, or after the last one taken, and passes
    // over any suffixed name a character already bears. An id another name
    // made cannot clash, since what follows its "~" is a number.
    int32_t suffix = 0;
    NameText name;
    char candidate[sizeof target + 16];
    for (int32_t c = 0; c <= index; ++c) {
        decodeName(script, c, name);
        const int32_t occurrence = nameOccurrence(script, c);
        if (std::strcmp(name, target) != 0 || occurrence <= 1) {
            continue;
        }
        suffix = suffix > occurrence - 1 ? suffix : occurrence - 1;
        do {
            ++suffix;
            formatText(candidate, sizeof candidate, "%s~%d", {target, suffix});
        } while (someoneIsNamed(script, candidate));
    }
    return suffix;
}

size_t formatLineId(const char* characterText, int32_t suffix, const TalkUnit& unit, int32_t place,
                    LinePart part, char* out, size_t capacity) {
    const char* state = scriptField(ScriptField::State).keyword;
    const char* kind =
        scriptField(part == LinePart::Question ? ScriptField::Question : ScriptField::Answer)
            .keyword;
    if (suffix > 0) {
        return formatText(out, capacity, "%s~%d/%s%d/%d/%s",
                          {characterText, suffix, state, unit.state, place, kind});
    }
    return formatText(out, capacity, "%s/%s%d/%d/%s",
                      {characterText, state, unit.state, place, kind});
}

size_t formatLineId(const ScriptModel& script, int32_t character, int32_t unit, LinePart part,
                    char* out, size_t capacity) {
    if (!characterInRange(script, character) || nameOf(script, character) == nullptr ||
        !unitInRange(*script.characters[character], unit)) {
        return formatText(out, capacity, "", {});
    }
    NameText name;
    decodeName(script, character, name);
    const Character& owner = *script.characters[character];
    return formatLineId(name, characterIdSuffix(script, character), *owner.units[unit],
                        placeInState(owner, unit), part, out, capacity);
}

int32_t answeringUnit(const ScriptModel& script, const ConversationView& view) {
    if (view.answer == nullptr || !characterInRange(script, view.characterIndex) ||
        script.characters[view.characterIndex] == nullptr) {
        return -1;
    }
    const Character& character = *script.characters[view.characterIndex];
    for (int32_t u = 0; unitInRange(character, u); ++u) {
        if (character.units[u]->answer == view.answer) {
            return u;
        }
    }
    return -1;
}

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
