// Goals read with the loader's own condition rules and tested as the engine
// tests a condition.
#include "tools/analysis/explore_goal.h"

#include "murmex/authoring/condition_words.h"

#include <string_view>

namespace murmex::tool {

namespace {

constexpr std::string_view CHARACTER_WORD = "character ";

// The name after "character ", blanks around it left out; empty when the
// text does not begin so.
std::string characterNamed(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos ||
        text.compare(start, CHARACTER_WORD.size(), CHARACTER_WORD) != 0) {
        return "";
    }
    const size_t begin = text.find_first_not_of(" \t", start + CHARACTER_WORD.size());
    if (begin == std::string::npos) {
        return "";
    }
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

} // namespace

bool readGoal(const std::string& text, Goal& goal, std::string& error) {
    goal = Goal{};
    goal.text = text;
    ConditionWords words;
    const char* fault = readConditionWords(text.c_str(), words);
    if (fault == nullptr) {
        goal.name = text.substr(words.nameBegin, words.nameLength);
        goal.op = words.op;
        goal.value = words.value;
        return true;
    }
    goal.name = characterNamed(text);
    if (!goal.name.empty()) {
        goal.isCharacter = true;
        return true;
    }
    error = "\"" + text + "\" is no goal: " + fault + "; write " + GOAL_FORMS;
    return false;
}

bool resolveGoals(std::vector<Goal>& goals, const ConversationEngine& engine, std::string& error) {
    for (Goal& goal : goals) {
        if (goal.isCharacter) {
            goal.character = engine.indexOfCharacter(goal.name.c_str());
            if (goal.character < 0) {
                error = "\"" + goal.text + "\": no character is named \"" + goal.name + "\"";
                return false;
            }
        }
    }
    return true;
}

bool anyGoalMet(const std::vector<Goal>& goals, const MemoryStore& memory, int32_t character) {
    for (const Goal& goal : goals) {
        if (goal.isCharacter ? goal.character == character
                             : Character::testCondition(
                                   Condition{goal.name.c_str(), goal.op, goal.value}, memory)) {
            return true;
        }
    }
    return false;
}

std::string goalsText(const std::vector<Goal>& goals) {
    std::string text;
    for (size_t i = 0; i < goals.size(); ++i) {
        text += (i == 0 ? "" : " or ") + goals[i].text;
    }
    return text;
}

} // namespace murmex::tool
