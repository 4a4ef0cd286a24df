// The mnemonic checks. A text line of the window takes every lone '&' as a
// marker that underlines the character after it and hides itself; the keys
// choose the first offered question whose first marked letter they match.
#include "tools/analysis/mnemonic_lint.h"

#include "murmex/conversation_flow.h"
#include "murmex/script_text.h"
#include "text/display_text.h"
#include "tools/analysis/condition_constraints.h"
#include "tools/analysis/shown_text.h"
#include "tools/analysis/unit_text.h"
#include "window/mnemonic_keys.h"

#include <cstring>
#include <map>
#include <string>
#include <string_view>

namespace murmex::tool {

namespace {

// How much of a text a warning quotes.
constexpr size_t QUOTED_CHARACTERS = 40;

std::string quoted(const char* text) {
    return "\"" + shortText(text, QUOTED_CHARACTERS) + "\"";
}

// The bytes of the first character of a UTF-8 text.
std::string firstCharacter(std::string_view utf8) {
    size_t length = utf8.empty() ? 0 : 1;
    while (length < utf8.size() && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return std::string(utf8.substr(0, length));
}

bool isBlank(char32_t point) {
    return point <= 0x20 || (point >= 0x7F && point <= 0xA0) || point == 0x3000 ||
           (point >= 0x2000 && point <= 0x200B);
}

// What is wrong with the character an '&' marks; empty when a key can choose it.
std::string markProblem(char32_t point, const std::string& marked) {
    if (point == 0) {
        return "an '&' at the end of the text marks nothing";
    }
    if (isBlank(point)) {
        return "an '&' before a blank underlines the blank and hides the '&'";
    }
    if (!kestrine::canBeMnemonic(point)) {
        return "an '&' before \"" + marked +
               "\" marks it as a mnemonic, which no key can choose, and hides the '&'";
    }
    return "";
}

class MnemonicLinter {
  public:
    MnemonicLinter(const ScriptModel& engine, const ScriptPlaces& lines,
                   std::vector<Finding>& findings)
        : engine(engine), lines(lines), findings(findings) {}

    void run(int32_t only) {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            if (character == nullptr || (only >= 0 && c != only)) {
                continue;
            }
            std::map<int32_t, std::vector<int32_t>> questionsByState;
            for (int32_t u = 0; u < character->unitCount; ++u) {
                const TalkUnit& unit = *character->units[u];
                const int32_t line = lines.unitLine(c, u);
                checkMarks(unit.question, line);
                if (answerCanBeShown(unit)) {
                    checkMarks(unit.answer, line);
                }
                if (holdsText(unit.question)) {
                    questionsByState[unit.state].push_back(u);
                }
            }
            for (const auto& [state, units] : questionsByState) {
                checkShared(c, units);
            }
        }
    }

  private:
    void add(int32_t line, const char* name, std::string text) {
        findings.push_back(Finding{line > 0 ? line : 1, name, std::move(text), {}, false});
    }

    // Every lone '&' of the text as shown; "&&" shows one '&' and marks nothing.
    void checkMarks(const char* bytes, int32_t line) {
        if (bytes == nullptr) {
            return;
        }
        const std::string shown = displayText(bytes);
        for (size_t i = findMnemonicMark(shown.data(), shown.size(), 0); i < shown.size();
             i = findMnemonicMark(shown.data(), shown.size(), i + 1)) {
            const std::string_view fromMark = std::string_view(shown).substr(i);
            const std::string problem = markProblem(mnemonicOf(fromMark.data(), fromMark.size()),
                                                    firstCharacter(fromMark.substr(1)));
            if (!problem.empty()) {
                add(line, "stray-ampersand",
                    problem + " in " + quoted(bytes) + "; write \"&&\" for an ampersand");
                return;
            }
        }
    }

    // A later question that can be offered with an earlier one of the same
    // mnemonic is never chosen by its key.
    void checkShared(int32_t c, const std::vector<int32_t>& units) {
        const Character& character = *engine.characters[c];
        for (size_t k = 1; k < units.size(); ++k) {
            const TalkUnit& later = *character.units[units[k]];
            // A marked blank or sign is warned of as such; no key chooses it.
            const char32_t key = folded(later.question);
            for (size_t j = 0; j < k && kestrine::canBeMnemonic(key); ++j) {
                const TalkUnit& earlier = *character.units[units[j]];
                ConditionConstraints together;
                if (folded(earlier.question) != key || !together.addUnit(later) ||
                    !together.addUnit(earlier)) {
                    continue;
                }
                add(lines.unitLine(c, units[k]), "shared-mnemonic",
                    quoted(later.question) + " can be offered together with " +
                        quoted(earlier.question) + " (line " +
                        std::to_string(lines.unitLine(c, units[j])) +
                        ") and has the same mnemonic: its key always chooses the earlier one");
                findings.back().citesLine = true;
                break;
            }
        }
    }

    static char32_t folded(const char* question) {
        return question == nullptr ? 0
                                   : foldMnemonicCase(mnemonicOf(question, std::strlen(question)));
    }

    const ScriptModel& engine;
    const ScriptPlaces& lines;
    std::vector<Finding>& findings;
};

} // namespace

void lintMnemonics(const ScriptModel& engine, const ScriptPlaces& lines,
                   std::vector<Finding>& findings, int32_t only) {
    MnemonicLinter(engine, lines, findings).run(only);
}

} // namespace murmex::tool
