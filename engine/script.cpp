// Reading a loaded Script: its names, its units and its digest.
#include "murmex/script.h"

#include "text/fixed_format.h"

namespace murmex {

Script::~Script() = default;

const char* Script::characterName(int32_t index) const {
    return index >= 0 && index < contents.characterCount ? contents.characters[index]->name
                                                         : nullptr;
}

const char* Script::characterNameText(int32_t index) const {
    return index >= 0 && index < contents.characterCount
               ? &decodedNames[static_cast<size_t>(index) * NAME_TEXT_SIZE]
               : nullptr;
}

int32_t Script::unitCount(int32_t character) const {
    return character >= 0 && character < contents.characterCount
               ? contents.characters[character]->unitCount
               : 0;
}

const TalkUnit* Script::unit(int32_t character, int32_t index) const {
    if (index < 0 || index >= unitCount(character)) {
        return nullptr;
    }
    return contents.characters[character]->units[index].get();
}

size_t Script::lineId(int32_t character, int32_t unit, LinePart part, char* out,
                      size_t capacity) const {
    const TalkUnit* talkUnit = this->unit(character, unit);
    if (talkUnit == nullptr) {
        return formatText(out, capacity, "", {});
    }
    return formatLineId(characterNameText(character), idSuffixes[character], *talkUnit,
                        placeInState(*contents.characters[character], unit), part, out, capacity);
}

} // namespace murmex
