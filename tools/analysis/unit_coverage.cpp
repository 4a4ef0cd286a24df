// Units noted as played, screen by screen.
#include "tools/analysis/unit_coverage.h"

namespace murmex::tool {

int32_t openingAnswerShown(const Character& character, const char* answer) {
    if (answer == nullptr) {
        return -1;
    }
    for (int32_t u = 0; u < character.unitCount; ++u) {
        const TalkUnit& unit = *character.units[u];
        if (unit.answer == answer) {
            return unit.question[0] == 0 ? u : -1;
        }
    }
    return -1;
}

int64_t sharePercent(int64_t part, int64_t whole) {
    return whole == 0 ? 100 : part * 100 / whole;
}

UnitCoverage::UnitCoverage(const ScriptModel& script) {
    for (int32_t c = 0; c < script.characterCount; ++c) {
        const int32_t count = script.characters[c] ? script.characters[c]->unitCount : 0;
        flags.emplace_back(static_cast<size_t>(count), uint8_t{0});
        totalUnits += count;
    }
}

void UnitCoverage::noteScreen(const ScriptModel& script, const ConversationView& view) {
    const int32_t c = view.characterIndex;
    if (c < 0 || c >= characters() || script.characters[c] == nullptr) {
        return;
    }
    const int32_t opening = openingAnswerShown(*script.characters[c], view.answer);
    if (opening >= 0) {
        mark(c, opening, SHOWN);
    }
    for (int32_t position = 0; position < view.questionCount; ++position) {
        mark(c, view.unitIndices[position], SHOWN);
    }
}

void UnitCoverage::noteApplied(int32_t character, int32_t unit) {
    mark(character, unit, SHOWN | APPLIED);
}

void UnitCoverage::mark(int32_t character, int32_t unit, uint8_t flag) {
    if (character < 0 || character >= characters() || unit < 0 || unit >= units(character)) {
        return;
    }
    uint8_t& unitFlags = flags[character][unit];
    playedUnits += unitFlags == 0 ? 1 : 0;
    appliedUnits += (flag & APPLIED) != 0 && (unitFlags & APPLIED) == 0 ? 1 : 0;
    unitFlags |= flag;
}

} // namespace murmex::tool
