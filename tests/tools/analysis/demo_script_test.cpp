// The demo script plays without a dead end: every situation the player can
// reach, over every choice, offers a question, every hand-over finds its
// character, and every ended conversation starts "Intro" again. It also shows
// every action and operator, and its texts fit the conversation window.
#include "murmex/conversation_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using murmex::Character;
using murmex::ConversationEngine;
using murmex::ConversationView;
using murmex::MemoryStore;
using murmex::TalkUnit;

// A question line shows about this many characters before it cuts off.
constexpr size_t QUESTION_FITS = 60;
// The answer area holds about five lines of sixty characters; word wrap
// wastes some of that.
constexpr size_t ANSWER_FITS = 250;

class DemoScript : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.disableDescramble();
        ASSERT_GE(engine.load(MURMEX_DEMO_SCRIPT), 0)
            << "line " << engine.line << ": " << engine.errorMessage;
    }

    std::vector<const TalkUnit*> allUnits() const {
        std::vector<const TalkUnit*> units;
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            for (int32_t u = 0; u < engine.characters[c]->unitCount; ++u) {
                units.push_back(engine.characters[c]->units[u].get());
            }
        }
        return units;
    }

    ConversationEngine engine;
};

// What decides the rest of the game: who is talked to, in which state, and
// the variables (money is never tested, so it is left out).
struct Situation {
    int32_t character;
    int32_t state;
    MemoryStore memory;
    ConversationView view;
    std::string path; // the questions that led here, for failure messages
};

std::string situationKey(const Situation& situation) {
    std::vector<std::string> variables;
    for (int32_t slot = 0; slot < murmex::MEMORY_SLOTS; ++slot) {
        if (situation.memory.names[slot][0] != 0) {
            variables.push_back(std::string(situation.memory.names[slot]) + "=" +
                                std::to_string(situation.memory.values[slot]));
        }
    }
    std::sort(variables.begin(), variables.end());
    std::string key = std::to_string(situation.character) + ":" + std::to_string(situation.state);
    for (const std::string& variable : variables) {
        key += " " + variable;
    }
    return key;
}

TEST_F(DemoScript, NeverDeadEnds) {
    std::set<std::string> seen;
    std::set<const char*> offeredQuestions;
    std::set<const char*> shownAnswers;
    std::deque<Situation> pending;

    // Starts a character as the player does, or records why it cannot be.
    auto start = [&](const char* name, const std::string& path) {
        ConversationView view;
        const int32_t index = engine.findCharacter(name);
        const int32_t result = engine.startCharacter(index, view);
        if (result != 0) {
            ADD_FAILURE() << "starting " << name << " fails (" << result << ") after: " << path;
            return;
        }
        shownAnswers.insert(view.answer);
        pending.push_back({index, 0, engine.memory, view, path});
    };

    start("Intro", "");
    while (!pending.empty() && !HasFailure()) {
        const Situation situation = pending.front();
        pending.pop_front();
        if (!seen.insert(situationKey(situation)).second) {
            continue;
        }
        for (int32_t position = 0; position < situation.view.questionCount; ++position) {
            engine.memory = situation.memory;
            Character& character = *engine.characters[situation.character];
            character.state = situation.state;
            ConversationView view = situation.view;
            offeredQuestions.insert(view.questions[position]);
            const std::string path = situation.path + " / " + view.questions[position];
            const int32_t result = engine.applyQuestion(position, view);
            if (result == murmex::RESULT_FAILED) {
                ADD_FAILURE() << engine.errorMessage << " after: " << path;
            } else if (result == murmex::RESULT_SWITCH) {
                start(view.answer, path);
            } else if (result < 0) {
                start("Intro", path);
            } else {
                shownAnswers.insert(view.answer);
                pending.push_back({situation.character, result, engine.memory, view, path});
            }
        }
    }

    // Every question and every answer is reachable, so no unit is dead text.
    // Hand-overs and ended conversations show the next start instead of their
    // own answer.
    for (const TalkUnit* unit : allUnits()) {
        if (unit->question[0] != 0) {
            EXPECT_TRUE(offeredQuestions.count(unit->question))
                << "never offered: " << unit->question;
        }
        const bool answerShown =
            unit->action != murmex::ACT_COMM && (unit->question[0] == 0 || unit->nextState >= 0);
        if (answerShown) {
            EXPECT_TRUE(shownAnswers.count(unit->answer)) << "never shown: " << unit->answer;
        }
    }
}

TEST_F(DemoScript, ShowsEveryActionAndOperator) {
    std::set<int32_t> actions;
    std::set<int32_t> operators;
    for (const TalkUnit* unit : allUnits()) {
        actions.insert(unit->action);
        for (int32_t i = 0; i < unit->conditionCount; ++i) {
            operators.insert(unit->conditions[i].op);
        }
    }
    EXPECT_EQ(actions, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(operators, (std::set<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_GE(engine.characterCount, 3);
}

TEST_F(DemoScript, TextsFitTheWindow) {
    EXPECT_LE(std::strlen(engine.title), size_t{murmex::MAX_TITLE});
    for (const TalkUnit* unit : allUnits()) {
        EXPECT_LE(std::strlen(unit->question), QUESTION_FITS) << unit->question;
        EXPECT_LE(std::strlen(unit->answer), ANSWER_FITS) << unit->answer;
    }
}

// Removing a variable empties its slot without a marker, so a variable that
// hashed to the same place and was stored behind it could no longer be found.
TEST_F(DemoScript, VariablesNeverShareAHashSlot) {
    std::map<int32_t, std::string> slots;
    for (const TalkUnit* unit : allUnits()) {
        std::vector<const char*> names;
        if (unit->action == murmex::ACT_ADD_MEM || unit->action == murmex::ACT_SUB_MEM) {
            names.push_back(unit->param);
        }
        for (int32_t i = 0; i < unit->conditionCount; ++i) {
            names.push_back(unit->conditions[i].variable);
        }
        for (const char* name : names) {
            EXPECT_LE(std::strlen(name), size_t{murmex::MAX_NAME_LENGTH}) << name;
            const auto [entry, added] = slots.emplace(MemoryStore::hash(name), name);
            EXPECT_TRUE(added || entry->second == name) << name << " and " << entry->second;
        }
    }
}

} // namespace
