// Counting what a script holds.
#include "tools/analysis/script_stats.h"

#include "text/display_text.h"

namespace murmex::tool {

namespace {

bool isBlank(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// Letters and digits of ASCII, and every byte above it: telling letters from
// punctuation there would need the text's encoding, and a word of accented
// letters must count.
bool isWordByte(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte >= 0x80;
}

CharacterStats characterStats(const Character& character, ScriptStats& script) {
    CharacterStats stats;
    stats.name = displayText(character.name);
    for (int32_t i = 0; i < character.unitCount; ++i) {
        const TalkUnit& unit = *character.units[i];
        ++stats.units;
        if (unit.question[0] != 0) {
            ++stats.questions;
        } else if (unit.state == 0) {
            ++stats.initialAnswers;
        } else {
            ++stats.neverShown;
        }
        // A negative state ends the conversation, whether a unit leads there
        // or (never offered) stands in it: it is no state of the character.
        for (const int32_t state : {unit.state, unit.nextState}) {
            if (state >= 0) {
                stats.states.insert(state);
            }
        }
        script.answerWords += wordCount(unit.answer);
        script.questionWords += wordCount(unit.question);
        if (unit.action == ACT_ADD_MEM) {
            script.variablesSet.insert(displayText(unit.param));
        } else if (unit.action == ACT_SUB_MEM) {
            script.variablesRemoved.insert(displayText(unit.param));
        }
        for (int32_t c = 0; c < unit.conditionCount; ++c) {
            script.variablesTested.insert(displayText(unit.conditions[c].variable));
        }
    }
    return stats;
}

} // namespace

int64_t wordCount(const char* text) {
    int64_t words = 0;
    bool inWord = false;
    bool wordHasLetter = false;
    for (const char* at = text; at != nullptr && *at != 0; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (isBlank(byte)) {
            words += inWord && wordHasLetter ? 1 : 0;
            inWord = false;
            wordHasLetter = false;
            continue;
        }
        inWord = true;
        wordHasLetter = wordHasLetter || isWordByte(byte);
    }
    return words + (inWord && wordHasLetter ? 1 : 0);
}

ScriptStats scriptStats(const ScriptModel& engine) {
    ScriptStats script;
    for (int32_t i = 0; i < engine.characterCount; ++i) {
        CharacterStats stats = characterStats(*engine.characters[i], script);
        script.units += stats.units;
        script.questions += stats.questions;
        script.initialAnswers += stats.initialAnswers;
        script.neverShown += stats.neverShown;
        script.characters.push_back(std::move(stats));
    }
    return script;
}

} // namespace murmex::tool
