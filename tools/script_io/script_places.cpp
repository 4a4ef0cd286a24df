// The places of a loaded script's parts, from what the loader tells.
#include "tools/script_io/script_places.h"

namespace murmex::tool {

int32_t ScriptPlaces::characterLine(int32_t c) const {
    return c >= 0 && static_cast<size_t>(c) < characters.size()
               ? characters[static_cast<size_t>(c)].line
               : 0;
}

int32_t ScriptPlaces::unitLine(int32_t c, int32_t u) const {
    if (c < 0 || static_cast<size_t>(c) >= characters.size()) {
        return 0;
    }
    const std::vector<int32_t>& units = characters[static_cast<size_t>(c)].unitLines;
    return u >= 0 && static_cast<size_t>(u) < units.size() ? units[static_cast<size_t>(u)] : 0;
}

void ScriptPlaces::replaceCharacter(int32_t c, const ScriptPlaces& part, int32_t shift,
                                    int32_t addedLines) {
    if (c < 0 || static_cast<size_t>(c) >= characters.size() || part.characters.empty()) {
        return;
    }
    Character& replaced = characters[static_cast<size_t>(c)];
    replaced = part.characters.front();
    replaced.line += shift;
    for (int32_t& line : replaced.unitLines) {
        line += shift;
    }
    for (size_t d = static_cast<size_t>(c) + 1; d < characters.size(); ++d) {
        characters[d].line += addedLines;
        for (int32_t& line : characters[d].unitLines) {
            line += addedLines;
        }
    }
}

namespace {

constexpr uint8_t COMPONENTS = 3;

size_t componentIndex(ScriptField field, uint8_t component) {
    return (field == ScriptField::TextColor ? COMPONENTS : 0) + (component % COMPONENTS);
}

} // namespace

const ScriptPlaces::WrittenComponent& ScriptPlaces::colorComponent(ScriptField field,
                                                                   uint8_t component) const {
    return components[componentIndex(field, component)];
}

void ScriptPlaces::field(const SyntaxFieldEvent& event) {
    // A colour's line is where its last component ends.
    if (event.field == ScriptField::Name) {
        nameLine = event.value.line;
        return;
    }
    if (event.field != ScriptField::Color && event.field != ScriptField::TextColor) {
        return;
    }
    components[componentIndex(event.field, event.component)] = {
        event.text != nullptr ? event.text : "", event.value.line};
    if (event.component == COMPONENTS - 1) {
        (event.field == ScriptField::Color ? colorEnd : textColorEnd) = event.value.line;
    }
}

void ScriptPlaces::open(ScriptBlock block, const SyntaxSpan& at) {
    if (block == ScriptBlock::Character) {
        character = Character{};
    } else if (block == ScriptBlock::Unit) {
        openedOn = at.line;
    }
}

void ScriptPlaces::close(ScriptBlock block, const SyntaxSpan&) {
    if (block == ScriptBlock::Unit) {
        character.unitLines.push_back(openedOn);
    } else if (block == ScriptBlock::Character) {
        character.line = nameLine;
        characters.push_back(std::move(character));
    }
}

} // namespace murmex::tool
