// Finding, starting and applying: the rules of a conversation step and what
// each failure leaves behind.
#include "engine/script_builder.h"
#include "murmex/conversation_engine.h"
#include "murmex/conversation_flow.h"

#include <gtest/gtest.h>

#include <string>

namespace murmex {
namespace {

using testing::addCharacter;
using testing::unit;
using testing::when;

TEST(ConversationEngineTest, NewEngineDefaults) {
    ConversationEngine engine;
    EXPECT_EQ(engine.characterCount, 0);
    EXPECT_STREQ(engine.title, "Murmex 1.0");
    EXPECT_EQ(engine.descramble, 1);
    EXPECT_EQ(engine.block, nullptr);
    EXPECT_EQ(engine.used, 0);
    engine.disableDescramble();
    EXPECT_EQ(engine.descramble, 0);
}

TEST(ConversationEngineTest, AddStringNeverWritesPastTheBlock) {
    ConversationEngine engine;
    EXPECT_EQ(engine.addString(""), nullptr); // no block yet
}

struct ConditionCase {
    uint8_t op;
    int32_t operand;
    bool set;
    int32_t value;
    bool holds;
};

void PrintTo(const ConditionCase& c, std::ostream* out) {
    *out << "op " << int(c.op) << " operand " << c.operand
         << (c.set ? " value " + std::to_string(c.value) : std::string(" missing"));
}

class ConditionTest : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionTest, HoldsAsTabled) {
    const ConditionCase& c = GetParam();
    MemoryStore memory;
    if (c.set) {
        ASSERT_EQ(memory.set("x", c.value), 0);
    }
    EXPECT_EQ(Character::testCondition(Condition{"x", c.op, c.operand}, memory), c.holds);
}

INSTANTIATE_TEST_SUITE_P(
    MissingAndPresent, ConditionTest,
    ::testing::Values(
        // A missing variable: only != and not hold, even against 0.
        ConditionCase{OP_EQUAL, 0, false, 0, false}, ConditionCase{OP_NOT_EQUAL, 0, false, 0, true},
        ConditionCase{OP_LESS, 1, false, 0, false}, ConditionCase{OP_GREATER, -1, false, 0, false},
        ConditionCase{OP_NOT, 0, false, 0, true},
        // A present variable, compared as signed 32-bit.
        ConditionCase{OP_EQUAL, 5, true, 5, true}, ConditionCase{OP_EQUAL, 5, true, 6, false},
        ConditionCase{OP_NOT_EQUAL, 5, true, 5, false},
        ConditionCase{OP_NOT_EQUAL, 5, true, 6, true}, ConditionCase{OP_LESS, 0, true, -1, true},
        ConditionCase{OP_LESS, 0, true, 0, false}, ConditionCase{OP_GREATER, -1, true, 0, true},
        ConditionCase{OP_GREATER, INT32_MIN, true, INT32_MIN, false},
        ConditionCase{OP_NOT, 0, true, 0, false}));

TEST(ConversationRuntimeTest, InitialAnswerTakesLastQualifyingUnitAndAppliesNothing) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 4, "", "first"), unit(0, 5, "", "second", ACT_ADD_MEM, "seen", 1),
                  unit(0, 1, "Hello?", "Hi."),
                  when(unit(0, 0, "", "hidden"), "nope", OP_EQUAL, 1)});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_STREQ(view.answer, "second");
    EXPECT_EQ(engine.characters[0]->state, 0);
    EXPECT_EQ(engine.memory.lookup("seen"), -1);
    EXPECT_STREQ(engine.errorMessage, "Character not found!");
}

TEST(ConversationRuntimeTest, EmptyInitialAnswerStillCounts) {
    ConversationEngine engine;
    addCharacter(engine, "Intro", {unit(0, 0, "", ""), unit(0, 0, "Q", "A")});
    ConversationView view;
    EXPECT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_STREQ(view.answer, "");
}

TEST(ConversationRuntimeTest, OnlyFirstFiveQuestionsInScriptOrder) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 0, "q0", "a"), unit(1, 0, "other state", "a"),
                  unit(0, 0, "q1", "a"), unit(0, 0, "q2", "a"), unit(0, 0, "q3", "a"),
                  unit(0, 0, "q4", "a"), unit(0, 0, "q5", "a"), unit(0, 0, "q6", "a")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    ASSERT_EQ(view.questionCount, 5);
    const int32_t expectedUnits[] = {1, 3, 4, 5, 6};
    for (int32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(std::string(view.questions[k]), "q" + std::to_string(k));
        EXPECT_EQ(view.unitIndices[k], expectedUnits[k]);
    }
}

TEST(ConversationRuntimeTest, EmptyQuestionOutsideStateZeroIsNeverShown) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 1, "go", "went"), unit(1, 0, "", "never"),
                  unit(1, 0, "back", "ok")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    ASSERT_EQ(engine.applyQuestion(0, view), 1);
    EXPECT_STREQ(view.answer, "went");
    ASSERT_EQ(view.questionCount, 1);
    EXPECT_STREQ(view.questions[0], "back");
}

TEST(ConversationRuntimeTest, StartFailuresAndWhatTheyLeave) {
    ConversationEngine engine;
    addCharacter(engine, "NoAnswer", {unit(0, 0, "Q", "A")});
    addCharacter(engine, "NoQuestion", {unit(0, 0, "", "alone"), unit(1, 0, "later", "A")});
    ConversationView view;
    view.questionCount = 4;

    EXPECT_EQ(engine.startCharacter(2, view), -1);
    EXPECT_STREQ(engine.errorMessage, "Character not found!");
    EXPECT_EQ(view.characterIndex, -1);
    EXPECT_EQ(engine.startCharacter(-1, view), -1);

    engine.characters[0]->state = 9;
    EXPECT_EQ(engine.startCharacter(0, view), -2);
    EXPECT_STREQ(engine.errorMessage, "No initial answer found!");
    EXPECT_EQ(view.characterIndex, 0);
    EXPECT_EQ(view.answer, nullptr);
    EXPECT_EQ(view.questionCount, 4);
    EXPECT_EQ(engine.characters[0]->state, 0);

    EXPECT_EQ(engine.startCharacter(1, view), -3);
    EXPECT_STREQ(engine.errorMessage, "No questions found!");
    EXPECT_STREQ(view.answer, "alone");
    EXPECT_EQ(view.questionCount, 0);
}

TEST(ConversationRuntimeTest, FindCharacterIsExactAndTakesTheFirst) {
    ConversationEngine engine;
    addCharacter(engine, "Intro", {});
    addCharacter(engine, "Smith", {});
    addCharacter(engine, "Intro", {});
    EXPECT_EQ(engine.findCharacter("Intro"), 0);
    EXPECT_EQ(engine.findCharacter("Smith"), 1);
    engine.errorMessage = "";
    EXPECT_EQ(engine.findCharacter("intro"), -1);
    EXPECT_STREQ(engine.errorMessage, "Character not found!");
    EXPECT_EQ(engine.findCharacter("Intro "), -1);
}

TEST(ConversationRuntimeTest, FindCharacterSkipsCharacterWithoutName) {
    ConversationEngine engine;
    addCharacter(engine, "Intro", {}).name = nullptr; // its block failed to load
    addCharacter(engine, "Intro", {});
    EXPECT_EQ(engine.findCharacter("Intro"), 1);
}

TEST(ConversationRuntimeTest, ActionsChangeMemoryAndMoney) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 0, "set", "a", ACT_ADD_MEM, "x", 7),
                  unit(0, 0, "remove", "b", ACT_SUB_MEM, "x"),
                  unit(0, 0, "earn", "c", ACT_ADD_MONEY, "coins", 5),
                  unit(0, 0, "spend", "d", ACT_SUB_MONEY, "coins", 8),
                  unit(0, 2, "item", "e", ACT_ADD_INV, "sword", 1)});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    ASSERT_EQ(engine.applyQuestion(0, view), 0);
    EXPECT_EQ(engine.memory.valueAt(engine.memory.lookup("x")), 7);
    ASSERT_EQ(engine.applyQuestion(1, view), 0);
    EXPECT_EQ(engine.memory.lookup("x"), -1);
    ASSERT_EQ(engine.applyQuestion(2, view), 0);
    ASSERT_EQ(engine.applyQuestion(3, view), 0);
    EXPECT_EQ(engine.memory.money, -3);
    EXPECT_EQ(engine.memory.lookup("coins"), -1);
    // Inventory actions move the state like ACT_NONE; state 2 offers nothing.
    EXPECT_EQ(engine.applyQuestion(4, view), RESULT_FAILED);
    EXPECT_STREQ(engine.errorMessage, "No questions!");
    EXPECT_STREQ(view.answer, "e");
    EXPECT_EQ(view.questionCount, 0);
    EXPECT_EQ(engine.characters[0]->state, 2);
}

TEST(ConversationRuntimeTest, SwitchReturnsParamAndRestartResetsState) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 3, "smith?", "never shown", ACT_COMM, "Smith")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), RESULT_SWITCH);
    EXPECT_STREQ(view.answer, "Smith");
    EXPECT_EQ(engine.characters[0]->state, RESULT_SWITCH);
    EXPECT_EQ(view.questionCount, 1); // not rebuilt
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.characters[0]->state, 0);
}

TEST(ConversationRuntimeTest, NegativeNextStateEndsAfterTheAction) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, -1, "bye", "farewell", ACT_ADD_MEM, "left", 1),
                  unit(0, 0, "other", "x")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), -1);
    EXPECT_STREQ(view.answer, "farewell");
    EXPECT_EQ(engine.memory.valueAt(engine.memory.lookup("left")), 1);
    EXPECT_EQ(view.questionCount, 2);
    EXPECT_STREQ(view.questions[1], "other");
}

TEST(ConversationRuntimeTest, ReservedNextStatesActByValue) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, -98, "fake switch", "Smith"),
                  unit(0, -99, "fake failure", "oops")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), RESULT_SWITCH);
    EXPECT_STREQ(view.answer, "Smith");
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(1, view), RESULT_FAILED);
    // No text of its own: what the last start left stays.
    EXPECT_STREQ(engine.errorMessage, "Character not found!");
}

TEST(ConversationRuntimeTest, FailedRemovalHasAlreadyMovedTheState) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 4, "forget", "x", ACT_SUB_MEM, "never_set")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), RESULT_FAILED);
    EXPECT_STREQ(engine.errorMessage, "Can't apply question!");
    EXPECT_EQ(view.answer, nullptr);
    EXPECT_EQ(view.questionCount, 1);
    EXPECT_EQ(engine.characters[0]->state, 4);
}

TEST(ConversationRuntimeTest, SetOnFullMemoryFailsWithoutChangingIt) {
    ConversationEngine engine;
    for (int32_t i = 0; i < MEMORY_SLOTS; ++i) {
        ASSERT_EQ(engine.memory.set(("n" + std::to_string(i)).c_str(), i), 0);
    }
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 1, "remember", "x", ACT_ADD_MEM, "fresh", 1)});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), RESULT_FAILED);
    EXPECT_STREQ(engine.errorMessage, "Can't apply question!");
    EXPECT_EQ(engine.memory.lookup("fresh"), -2);
    EXPECT_EQ(engine.characters[0]->state, 1);
}

TEST(ConversationRuntimeTest, StaleUnitStateIsRefused) {
    ConversationEngine engine;
    addCharacter(engine, "Intro", {unit(0, 0, "", "hi"), unit(0, 1, "go", "x")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    engine.characters[0]->state = 7;
    EXPECT_EQ(engine.applyQuestion(0, view), RESULT_FAILED);
    EXPECT_EQ(engine.characters[0]->state, 7);
}

TEST(ConversationRuntimeTest, BadPositionOrViewFailsAndChangesNothing) {
    ConversationEngine engine;
    addCharacter(engine, "Intro", {unit(0, 0, "", "hi"), unit(0, 1, "go", "x")});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    for (const int32_t position : {-1, 1, 5, 1000}) {
        ConversationView copy = view;
        EXPECT_EQ(engine.applyQuestion(position, copy), RESULT_FAILED) << position;
        EXPECT_STREQ(engine.errorMessage, "Can't apply question!");
        EXPECT_EQ(copy.answer, nullptr);
        EXPECT_EQ(engine.characters[0]->state, 0);
    }
    for (const int32_t index : {-1, 1, MAX_CHARACTERS}) {
        ConversationView copy = view;
        copy.characterIndex = index;
        EXPECT_EQ(engine.applyQuestion(0, copy), RESULT_FAILED) << index;
    }
    ConversationView corrupt = view;
    corrupt.questionCount = 9; // never more than five questions are offered
    EXPECT_EQ(engine.applyQuestion(7, corrupt), RESULT_FAILED);
    corrupt.unitIndices[0] = 42;
    EXPECT_EQ(engine.applyQuestion(0, corrupt), RESULT_FAILED);
}

TEST(ConversationRuntimeTest, MemoryCarriesAcrossCharacters) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"), unit(0, 0, "tell", "told", ACT_ADD_MEM, "secret", 1),
                  unit(0, 0, "smith", "-", ACT_COMM, "Smith")});
    addCharacter(engine, "Smith",
                 {unit(0, 0, "", "forge"),
                  when(unit(0, 0, "secret?", "yes"), "secret", OP_EQUAL, 1),
                  when(unit(0, 0, "nothing?", "no"), "secret", OP_NOT)});
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    ASSERT_EQ(engine.startCharacter(1, view), 0);
    ASSERT_EQ(view.questionCount, 1);
    EXPECT_STREQ(view.questions[0], "nothing?");
    ASSERT_EQ(engine.startCharacter(0, view), 0);
    ASSERT_EQ(engine.applyQuestion(0, view), 0);
    ASSERT_EQ(engine.applyQuestion(1, view), RESULT_SWITCH);
    ASSERT_EQ(engine.startCharacter(engine.findCharacter(view.answer), view), 0);
    ASSERT_EQ(view.questionCount, 1);
    EXPECT_STREQ(view.questions[0], "secret?");
}

TEST(ConversationRuntimeTest, CharacterWithoutUnitsCannotStart) {
    ConversationEngine engine;
    addCharacter(engine, "Empty", {});
    ConversationView view;
    EXPECT_EQ(engine.startCharacter(0, view), -2);
}

// What a unit does as the flow carries it out, and whether its answer shows:
// ACT_COMM hands over whatever its next state says.
TEST(UnitEffectTest, FollowsTheFlowsRules) {
    struct Case {
        int32_t state, nextState;
        const char* question;
        int32_t action;
        UnitEffect effect;
        bool answerShown;
        const char* handOverName;
    };
    const Case cases[] = {
        {0, 0, "", ACT_NONE, UnitEffect::Opens, true, "Answer"},
        {2, 0, "", ACT_NONE, UnitEffect::Opens, false, "Answer"},
        {0, 3, "Q", ACT_ADD_MEM, UnitEffect::Continues, true, "Answer"},
        {0, 3, "Q", ACT_COMM, UnitEffect::HandsOver, false, "Param"},
        {0, -1, "Q", ACT_COMM, UnitEffect::HandsOver, false, "Param"},
        {0, RESULT_SWITCH, "Q", ACT_NONE, UnitEffect::HandsOver, false, "Answer"},
        {0, RESULT_FAILED, "Q", ACT_NONE, UnitEffect::Stops, false, "Answer"},
        {0, -1, "Q", ACT_NONE, UnitEffect::Ends, false, "Answer"},
    };
    for (const Case& c : cases) {
        TalkUnit unit;
        unit.state = c.state;
        unit.nextState = c.nextState;
        unit.question = c.question;
        unit.answer = "Answer";
        unit.param = "Param";
        unit.action = c.action;
        EXPECT_EQ(unitEffect(unit), c.effect) << c.nextState << " " << c.action;
        EXPECT_EQ(answerCanBeShown(unit), c.answerShown) << c.nextState << " " << c.action;
        EXPECT_STREQ(handOverName(unit), c.handOverName);
    }
}

} // namespace
} // namespace murmex
