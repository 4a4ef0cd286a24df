// The static checks. Each looks at the model as the loader left it and words
// what the player would do with it.
#include "tools/analysis/script_lint.h"

#include "murmex/conversation_flow.h"
#include "murmex/runtime_messages.h"
#include "text/display_text.h"
#include "tools/analysis/color_contrast.h"
#include "tools/analysis/color_range.h"
#include "tools/analysis/condition_constraints.h"
#include "tools/analysis/mnemonic_lint.h"
#include "tools/analysis/shown_text.h"
#include "tools/analysis/text_cut_off.h"
#include "tools/analysis/unit_text.h"
#include "tools/script_io/edit_distance.h"

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace murmex::tool {

namespace {

// How much of a question a warning quotes.
constexpr size_t QUOTED_CHARACTERS = 40;

std::string quoted(const char* text) {
    return "\"" + shortText(text, QUOTED_CHARACTERS) + "\"";
}

std::string characterName(const Character& character) {
    return quoted(character.name);
}

bool hasQuestion(const TalkUnit& unit) {
    return unit.question != nullptr && unit.question[0] != 0;
}

class Linter {
  public:
    Linter(const ScriptModel& engine, const ScriptPlaces& lines, std::vector<Finding>& findings)
        : engine(engine), lines(lines), findings(findings) {}

    void checkCharacter(int32_t c) {
        const Character* character = engine.characters[c].get();
        if (character == nullptr) {
            return;
        }
        if (character->name != nullptr) {
            checkName(*character, lines.characterLine(c));
        }
        checkUnits(c);
        checkStates(c);
        lintMnemonics(engine, lines, findings, c);
    }

    void checkAcross() {
        checkCharacters();
        checkSwitches();
        checkVariables();
        lintColorRange(lines, findings);
        lintHeaderColors(engine, lines, findings);
    }

  private:
    void add(int32_t line, const char* name, std::string text) {
        findings.push_back(Finding{line > 0 ? line : 1, name, std::move(text), {}, false});
    }

    int32_t unitLine(int32_t character, int32_t unit) const {
        return lines.unitLine(character, unit);
    }

    bool hasCharacter(const char* name) const { return engine.indexOfCharacter(name) >= 0; }

    void checkCharacters() {
        if (!hasCharacter(START_CHARACTER) && !checkStartCase()) {
            add(1, "no-intro",
                std::string("no character is named \"") + START_CHARACTER +
                    "\": the player stops at once with \"" + runtime_messages::CHARACTER_NOT_FOUND +
                    "\"");
        }
        std::map<std::string, int32_t> firstLine;
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            if (character == nullptr || character->name == nullptr) {
                continue;
            }
            const int32_t line = lines.characterLine(c);
            const auto [first, isNew] = firstLine.emplace(character->name, line);
            if (!isNew) {
                add(line, "duplicate-character",
                    "a second character named " + characterName(*character) +
                        " can never be talked to: the one on line " +
                        std::to_string(first->second) + " is always found first");
                findings.back().citesLine = true;
            }
        }
    }

    // A character named as the player's start but for letter case: "intro".
    bool checkStartCase() {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            if (character == nullptr || character->name == nullptr ||
                !sameLettersAside(character->name, START_CHARACTER)) {
                continue;
            }
            add(lines.characterLine(c), "start-character-case",
                "the player starts \"" + std::string(START_CHARACTER) +
                    "\", and names are compared exactly: " + characterName(*character) +
                    " differs in letter case, so the player stops at once with \"" +
                    runtime_messages::CHARACTER_NOT_FOUND + "\"");
            return true;
        }
        return false;
    }

    static bool sameLettersAside(const char* a, const char* b) {
        for (; *a != 0 && *b != 0; ++a, ++b) {
            if (std::tolower(static_cast<unsigned char>(*a)) !=
                std::tolower(static_cast<unsigned char>(*b))) {
                return false;
            }
        }
        return *a == 0 && *b == 0;
    }

    void checkName(const Character& character, int32_t line) {
        if (hasHighBytes(character.name)) {
            add(line, "non-ascii-name",
                "character name " + characterName(character) +
                    " holds bytes above 127; a switch must spell it in the same code page");
        }
        checkStart(character, line);
    }

    void checkSwitches() {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            for (int32_t u = 0; character != nullptr && u < character->unitCount; ++u) {
                const TalkUnit& unit = *character->units[u];
                if (unit.action == ACT_COMM && !hasCharacter(unit.param)) {
                    add(unitLine(c, u), "switch-to-missing-character",
                        "switch to " + quoted(unit.param) +
                            ", which is no character: the player stops with \"Character not "
                            "found!\"");
                }
            }
        }
    }

    void checkStart(const Character& character, int32_t line) {
        bool initialAnswer = false;
        bool question = false;
        for (int32_t u = 0; u < character.unitCount; ++u) {
            const TalkUnit& unit = *character.units[u];
            if (unit.state == 0) {
                (hasQuestion(unit) ? question : initialAnswer) = true;
            }
        }
        if (!initialAnswer) {
            add(line, "cannot-start",
                characterName(character) +
                    " has no initial answer (a unit with an empty question in state 0): starting "
                    "it stops with \"" +
                    runtime_messages::NO_INITIAL_ANSWER + "\"");
        } else if (!question) {
            add(line, "cannot-start",
                characterName(character) +
                    " has no question in state 0: starting it stops with \"" +
                    runtime_messages::NO_QUESTIONS_FOUND + "\"");
        }
    }

    void checkUnits(int32_t c) {
        const Character& character = *engine.characters[c];
        for (int32_t u = 0; u < character.unitCount; ++u) {
            const TalkUnit& unit = *character.units[u];
            const int32_t line = unitLine(c, u);
            const UnitEffect effect = unitEffect(unit);
            if (effect == UnitEffect::HandsOver && unit.action != ACT_COMM) {
                add(line, "next-state-98",
                    "next state -98 without ACT_COMM: the player takes the answer " +
                        quoted(unit.answer) + " for the name of a character to switch to");
            }
            if (effect == UnitEffect::Stops) {
                add(line, "next-state-99",
                    "next state -99: the player stops as after a failure, with a message "
                    "left over from before");
            }
            checkLostAnswer(unit, line);
            checkFit(unit, line);
            if (!hasQuestion(unit) && unit.state != 0) {
                add(line, "hidden-answer",
                    "a unit with an empty question in state " + std::to_string(unit.state) +
                        " is never shown: initial answers are sought in state 0 only");
            }
            if (!hasQuestion(unit) && unit.state == 0 && unit.action != ACT_NONE) {
                add(line, "initial-answer-action",
                    "the action of an initial answer never happens (" + actionText(unit) +
                        "): an initial answer is shown, not applied");
            }
        }
    }

    // The window cuts off a question wider than its line and an answer taller
    // than its area, measured as the window lays them out.
    void checkFit(const TalkUnit& unit, int32_t line) {
        if (hasQuestion(unit)) {
            if (const std::string cut = questionCutOff(unit.question); !cut.empty()) {
                add(line, "text-cut-off", "the question " + quoted(unit.question) + " " + cut);
            }
        }
        if (answerCanBeShown(unit) && holdsText(unit.answer)) {
            if (const std::string cut = answerCutOff(unit.answer); !cut.empty()) {
                add(line, "text-cut-off", "the answer " + quoted(unit.answer) + " " + cut);
            }
        }
    }

    // The answer of a unit whose question hands over or ends the conversation
    // is written in vain. Next states -98 and -99 have warnings of their own.
    void checkLostAnswer(const TalkUnit& unit, int32_t line) {
        if (!hasQuestion(unit) || answerCanBeShown(unit) || !holdsText(unit.answer)) {
            return;
        }
        const UnitEffect effect = unitEffect(unit);
        if (unit.action == ACT_COMM) {
            add(line, "answer-never-shown",
                "the answer " + quoted(unit.answer) + " is never shown: a hand-over shows " +
                    quoted(unit.param) + "'s initial answer instead; write \"-\" for no answer");
        } else if (effect == UnitEffect::Ends) {
            add(line, "answer-never-shown",
                "the answer " + quoted(unit.answer) + " is never shown: next state " +
                    std::to_string(unit.nextState) + " ends the conversation and \"" +
                    START_CHARACTER + "\" starts again at once; write \"-\" for no answer");
        }
    }

    // States the character can be in while it offers questions: 0 at every
    // start, then each next state of a question offered in a state already
    // reached. Conditions are not weighed, so a state missing here is never
    // entered at all.
    std::map<int32_t, int32_t> enteredStates(const Character& character, int32_t c) const {
        std::map<int32_t, int32_t> entered{{0, lines.characterLine(c)}};
        bool grew = true;
        while (grew) {
            grew = false;
            for (int32_t u = 0; u < character.unitCount; ++u) {
                const TalkUnit& unit = *character.units[u];
                if (hasQuestion(unit) && unit.action != ACT_COMM && unit.nextState >= 0 &&
                    entered.count(unit.state) != 0 && entered.count(unit.nextState) == 0) {
                    entered.emplace(unit.nextState, unitLine(c, u));
                    grew = true;
                }
            }
        }
        return entered;
    }

    void checkStates(int32_t c) {
        const Character& character = *engine.characters[c];
        const std::map<int32_t, int32_t> entered = enteredStates(character, c);
        std::map<int32_t, std::vector<int32_t>> questionsByState;
        std::map<int32_t, int32_t> firstUnitOfState;
        for (int32_t u = 0; u < character.unitCount; ++u) {
            const TalkUnit& unit = *character.units[u];
            firstUnitOfState.emplace(unit.state, u);
            if (hasQuestion(unit)) {
                questionsByState[unit.state].push_back(u);
            }
        }
        for (const auto& [state, unit] : firstUnitOfState) {
            if (entered.count(state) == 0) {
                add(unitLine(c, unit), "state-never-entered",
                    characterName(character) + " never enters state " + std::to_string(state) +
                        ", so its talk units there are never offered");
            }
        }
        for (const auto& [state, line] : entered) {
            // State 0 without questions is reported as a character that can't start.
            if (state != 0 && questionsByState.count(state) == 0) {
                add(line, "dead-end-state",
                    characterName(character) + " offers no question in state " +
                        std::to_string(state) + ": the player stops with \"" +
                        runtime_messages::NO_QUESTIONS + "\"");
            }
        }
        for (const auto& [state, units] : questionsByState) {
            if (entered.count(state) != 0) {
                checkHiddenQuestions(c, units);
            }
        }
    }

    // Only the first MAX_QUESTIONS available questions are offered. A question
    // is hidden when it can be available together with that many earlier ones.
    void checkHiddenQuestions(int32_t c, const std::vector<int32_t>& units) {
        const Character& character = *engine.characters[c];
        for (size_t k = MAX_QUESTIONS; k < units.size(); ++k) {
            ConditionConstraints together;
            together.addUnit(*character.units[units[k]]);
            int32_t earlier = 0;
            for (size_t j = 0; j < k && earlier < MAX_QUESTIONS; ++j) {
                if (together.addUnit(*character.units[units[j]])) {
                    ++earlier;
                }
            }
            if (earlier == MAX_QUESTIONS) {
                add(unitLine(c, units[k]), "too-many-questions",
                    "more than 5 questions can be available at once in state " +
                        std::to_string(character.units[units[k]]->state) + " of " +
                        characterName(character) + ": " +
                        quoted(character.units[units[k]]->question) + " is then not offered");
                return;
            }
        }
    }

    struct NameUse {
        int32_t line = 0;
        bool set = false;
    };

    void noteName(std::map<std::string, NameUse>& names, const char* name, int32_t line, bool set) {
        NameUse& use = names[name];
        if (use.line == 0) {
            use.line = line;
        }
        use.set = use.set || set;
    }

    void checkVariables() {
        // Every spelling of a variable, where it first stands.
        std::map<std::string, NameUse> spellings;
        // Each variable set, and each item named, by where it first stands.
        std::map<std::string, int32_t> setNames;
        std::map<std::string, int32_t> itemNames;
        std::set<std::string> testedNames;
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            for (int32_t u = 0; character != nullptr && u < character->unitCount; ++u) {
                const TalkUnit& unit = *character->units[u];
                if (unit.action == ACT_ADD_MEM) {
                    setNames.emplace(storedName(unit.param), unitLine(c, u));
                    noteName(spellings, unit.param, unitLine(c, u), true);
                } else if ((unit.action == ACT_ADD_INV || unit.action == ACT_SUB_INV) &&
                           unit.param != nullptr) {
                    itemNames.emplace(storedName(unit.param), unitLine(c, u));
                }
                for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
                    testedNames.insert(storedName(unit.conditions[i].variable));
                }
            }
        }
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            for (int32_t u = 0; character != nullptr && u < character->unitCount; ++u) {
                const TalkUnit& unit = *character->units[u];
                const int32_t line = unitLine(c, u);
                std::set<std::string> reported;
                for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
                    const char* variable = unit.conditions[i].variable;
                    noteName(spellings, variable, line, false);
                    if (setNames.count(storedName(variable)) == 0 &&
                        reported.insert(variable).second) {
                        reportNeverSet(variable, line, setNames, itemNames);
                    }
                }
                if (unit.action == ACT_SUB_MEM) {
                    noteName(spellings, unit.param, line, false);
                    if (setNames.count(storedName(unit.param)) == 0) {
                        add(line, "removed-never-set",
                            "variable " + quoted(unit.param) +
                                " is removed but never set: the player stops with \"" +
                                runtime_messages::CANNOT_APPLY + "\"");
                    }
                }
            }
        }
        for (const auto& [name, line] : setNames) {
            if (testedNames.count(name) == 0) {
                add(line, "variable-never-tested",
                    "variable " + quoted(name.c_str()) +
                        " is set but no condition tests it (a game that reads it itself may "
                        "ignore this)");
            }
        }
        checkSpellings(spellings);
        checkMoneyParams();
    }

    // A tested variable no unit sets: an item's name, which a condition
    // cannot see, a slip of a name that is set, or simply missing.
    void reportNeverSet(const char* variable, int32_t line,
                        const std::map<std::string, int32_t>& setNames,
                        const std::map<std::string, int32_t>& itemNames) {
        const std::string name = storedName(variable);
        if (const auto item = itemNames.find(name); item != itemNames.end()) {
            add(line, "item-tested",
                "variable " + quoted(variable) + " is tested, but only the item action on line " +
                    std::to_string(item->second) +
                    " names it: items are the game's to keep, and no condition sees them");
            findings.back().citesLine = true;
            return;
        }
        for (const auto& [set, setLine] : setNames) {
            if (editDistance(name, set) <= 1) {
                add(line, "variable-did-you-mean",
                    "variable " + quoted(variable) + " is tested but never set; did you mean " +
                        quoted(set.c_str()) + ", set on line " + std::to_string(setLine) + "?");
                findings.back().citesLine = true;
                return;
            }
        }
        add(line, "variable-never-set",
            "variable " + quoted(variable) + " is tested but never set");
    }

    // The money is one counter whatever a money action's PARAM says: a second
    // name suggests the author took it for a second counter.
    void checkMoneyParams() {
        std::string first;
        int32_t firstLine = 0;
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            const Character* character = engine.characters[c].get();
            for (int32_t u = 0; character != nullptr && u < character->unitCount; ++u) {
                const TalkUnit& unit = *character->units[u];
                if ((unit.action != ACT_ADD_MONEY && unit.action != ACT_SUB_MONEY) ||
                    unit.param == nullptr) {
                    continue;
                }
                if (firstLine == 0) {
                    first = unit.param;
                    firstLine = unitLine(c, u);
                } else if (first != unit.param) {
                    add(unitLine(c, u), "money-param",
                        "the money action names " + quoted(unit.param) + " where the one on line " +
                            std::to_string(firstLine) + " names " + quoted(first.c_str()) +
                            ": there is one money counter, whatever PARAM says");
                    findings.back().citesLine = true;
                }
            }
        }
    }

    void checkSpellings(const std::map<std::string, NameUse>& spellings) {
        std::map<std::string, std::pair<std::string, int32_t>> byStoredName;
        for (const auto& [spelling, use] : spellings) {
            const char* name = spelling.c_str();
            if (spelling.size() > static_cast<size_t>(MAX_NAME_LENGTH)) {
                add(use.line, "long-variable-name",
                    "variable " + quoted(name) + " is longer than " +
                        std::to_string(MAX_NAME_LENGTH) + " bytes; the memory keeps only \"" +
                        displayText(storedName(name).c_str()) + "\"");
            }
            if (hasHighBytes(name)) {
                add(use.line, "non-ascii-name",
                    "variable " + quoted(name) +
                        " holds bytes above 127; every use must spell it in the same code page");
            }
            const auto [other, isNew] =
                byStoredName.emplace(storedName(name), std::make_pair(spelling, use.line));
            if (!isNew) {
                add(use.line, "variable-names-collide",
                    "variables " + quoted(other->second.first.c_str()) + " (line " +
                        std::to_string(other->second.second) + ") and " + quoted(name) +
                        " are one variable: the memory keeps only their first " +
                        std::to_string(MAX_NAME_LENGTH) + " bytes");
                findings.back().citesLine = true;
            }
        }
    }

    const ScriptModel& engine;
    const ScriptPlaces& lines;
    std::vector<Finding>& findings;
};

} // namespace

std::vector<Finding> lintScript(const ScriptModel& engine, const ScriptPlaces& lines) {
    std::vector<Finding> findings;
    Linter linter(engine, lines, findings);
    linter.checkAcross();
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        linter.checkCharacter(c);
    }
    return findings;
}

void lintCharacter(const ScriptModel& engine, const ScriptPlaces& lines, int32_t c,
                   std::vector<Finding>& findings) {
    Linter(engine, lines, findings).checkCharacter(c);
}

void lintAcross(const ScriptModel& engine, const ScriptPlaces& lines,
                std::vector<Finding>& findings) {
    Linter(engine, lines, findings).checkAcross();
}

} // namespace murmex::tool
