// Scripts at the largest size the limits allow, generated at run time: 100
// characters of 150 talk units, three conditions in every unit, and every
// text at its longest accepted length. Such a script loads into an exactly
// full pool and plays; one character or one unit more fails in the filling
// pass with the limit's message and the line where the extra one begins.
#include "mill_header.h"
#include "murmex/conversation_engine.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace murmex {
namespace {

using testing::HEADER;
using testing::ScratchFolder;

// The longest texts a value may hold: its buffer less the zero and the one
// position that counts as too long.
constexpr size_t LONGEST_TEXT = 1498;
constexpr size_t LONGEST_SHORT = 148;
constexpr size_t LONGEST_NAME = 98;
// Lines of one character's block: its name line, a line per unit, its '}'.
constexpr int32_t BLOCK_LINES = MAX_UNITS + 2;
// The header takes lines 1 to 4; the first name stands on line 5.
constexpr int32_t FIRST_NAME_LINE = 5;

// A text of exactly `length` bytes: a distinguishing prefix, then filler.
std::string text(const std::string& prefix, char filler, size_t length) {
    std::string result = prefix;
    result.resize(length, filler);
    return result;
}

// "Intro" first, so the script can be played; every other name at its longest.
std::string characterName(int32_t index) {
    return index == 0 ? "Intro" : text("C" + std::to_string(index) + "-", 'n', LONGEST_NAME);
}

// A number written with the longest VAL: leading zeros make it octal, and
// the single digit 7 after them is 7 in any base.
const std::string SEVEN = std::string(LONGEST_SHORT - 1, '0') + "7";

// Builds scripts and counts the pool bytes their texts need.
struct ScriptBuilder {
    std::string script = HEADER;
    size_t poolBytes = 0;

    void field(const char* keyword, const std::string& value, bool pooled) {
        script += keyword;
        script += " = \"";
        script += value;
        script += "\" ";
        if (pooled) {
            poolBytes += value.size() + 1;
        }
    }

    // Unit 0 is the opening answer; the others are questions. Every unit sets
    // a variable, except two: Intro's unit 1 hands over to the last
    // character, whose unit 1 ends the conversation. Every condition tests a
    // variable that is never set with "!=", so every unit is always offered.
    void unit(int32_t character, int32_t index, int32_t lastCharacter) {
        const std::string tag = std::to_string(character) + "." + std::to_string(index) + ":";
        const bool handOver = character == 0 && index == 1;
        const bool ending = character == lastCharacter && index == 1;
        script += "{ ";
        field("S", "0", false);
        field("N", ending ? "-1" : "0", false);
        field("Q", index == 0 ? "" : text("q" + tag, 'q', LONGEST_TEXT), true);
        field("A", text("a" + tag, 'a', LONGEST_TEXT), true);
        if (handOver) {
            field("ACT", "ACT_COMM", false);
            field("PARAM", characterName(lastCharacter), true);
        } else {
            field("ACT", ending ? "ACT_ADD_INV" : "ACT_ADD_MEM", false);
            field("PARAM", text("p" + tag, 'p', LONGEST_TEXT), true);
            field("VAL", SEVEN, false);
        }
        for (int32_t condition = 0; condition < MAX_CONDITIONS; ++condition) {
            script += "{ ";
            field("ID", text("i" + std::to_string(condition) + tag, 'i', LONGEST_SHORT), true);
            field("OP", "!=", false);
            field("VAL", SEVEN, false);
            script += "} ";
        }
        script += "}\r\n";
    }

    void character(int32_t index, int32_t units, int32_t lastCharacter) {
        const std::string name = characterName(index);
        script += "\"" + name + "\" {\r\n";
        poolBytes += name.size() + 1;
        for (int32_t unitIndex = 0; unitIndex < units; ++unitIndex) {
            unit(index, unitIndex, lastCharacter);
        }
        script += "}\r\n";
    }
};

ScriptBuilder fullScript() {
    ScriptBuilder builder;
    for (int32_t index = 0; index < MAX_CHARACTERS; ++index) {
        builder.character(index, MAX_UNITS, MAX_CHARACTERS - 1);
    }
    return builder;
}

class FullSizeScript : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { full = new ScriptBuilder(fullScript()); }
    static void TearDownTestSuite() {
        delete full;
        full = nullptr;
    }

    int32_t load(ConversationEngine& engine, const std::string& script) {
        engine.disableDescramble();
        return engine.load(folder.write("script.chr", script).c_str());
    }

    static ScriptBuilder* full;
    ScratchFolder folder;
};

ScriptBuilder* FullSizeScript::full = nullptr;

TEST_F(FullSizeScript, LoadsIntoAnExactlyFullPoolAndPlays) {
    ConversationEngine engine;
    ASSERT_EQ(load(engine, full->script), LOAD_OK) << engine.errorMessage;
    EXPECT_EQ(engine.line, FIRST_NAME_LINE + MAX_CHARACTERS * BLOCK_LINES);
    ASSERT_EQ(engine.characterCount, MAX_CHARACTERS);
    EXPECT_EQ(engine.blockSize(), full->poolBytes);
    EXPECT_EQ(static_cast<uint32_t>(engine.used), engine.blockSize());
    for (int32_t index = 0; index < MAX_CHARACTERS; ++index) {
        ASSERT_EQ(engine.characters[index]->unitCount, MAX_UNITS) << index;
        ASSERT_STREQ(engine.characters[index]->name, characterName(index).c_str());
    }
    const TalkUnit& last = *engine.characters[MAX_CHARACTERS - 1]->units[MAX_UNITS - 1];
    EXPECT_EQ(std::strlen(last.question), LONGEST_TEXT);
    EXPECT_EQ(std::strlen(last.param), LONGEST_TEXT);
    ASSERT_EQ(last.conditionCount, MAX_CONDITIONS);
    EXPECT_EQ(std::strlen(last.conditions[2].variable), LONGEST_SHORT);
    EXPECT_EQ(last.conditions[2].value, 7);
    EXPECT_EQ(last.value, 7);

    // Intro offers its first five questions; the first hands over to the last
    // character, whose first question ends the conversation.
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(engine.findCharacter("Intro"), view), 0);
    EXPECT_EQ(std::strlen(view.answer), LONGEST_TEXT);
    EXPECT_EQ(view.questionCount, MAX_QUESTIONS);
    ASSERT_EQ(engine.applyQuestion(0, view), RESULT_SWITCH);
    const int32_t lastIndex = engine.findCharacter(view.answer);
    EXPECT_EQ(lastIndex, MAX_CHARACTERS - 1);
    ASSERT_EQ(engine.startCharacter(lastIndex, view), 0);
    EXPECT_EQ(engine.applyQuestion(0, view), -1);
    ASSERT_EQ(engine.startCharacter(engine.findCharacter("Intro"), view), 0);
    // A question that sets a variable named by a 1498-character PARAM.
    EXPECT_EQ(engine.applyQuestion(1, view), 0);
    EXPECT_GE(engine.memory.lookup(engine.characters[0]->units[2]->param), 0);
    EXPECT_EQ(view.questionCount, MAX_QUESTIONS);
}

TEST_F(FullSizeScript, HundredAndFirstCharacterFailsInTheFillingPass) {
    ConversationEngine engine;
    ASSERT_EQ(load(engine, full->script + "\"One more\" {\r\n}\r\n"), LOAD_LIMIT);
    // Reported where the extra block's '{' stands, after the full pool was
    // sized (the measuring pass does not count characters).
    EXPECT_EQ(engine.line, FIRST_NAME_LINE + MAX_CHARACTERS * BLOCK_LINES);
    EXPECT_STREQ(engine.errorMessage, "Limits: maximum characters reached!");
    EXPECT_NE(engine.block, nullptr);
    EXPECT_EQ(engine.characterCount, MAX_CHARACTERS);
}

TEST_F(FullSizeScript, HundredAndFiftyFirstUnitFailsInTheFillingPass) {
    ScriptBuilder builder;
    builder.character(0, MAX_UNITS + 1, 0);
    ConversationEngine engine;
    ASSERT_EQ(load(engine, builder.script), LOAD_LIMIT);
    // The extra unit's '{' opens the line after the 150 units.
    EXPECT_EQ(engine.line, FIRST_NAME_LINE + 1 + MAX_UNITS);
    EXPECT_STREQ(engine.errorMessage, "Maximum talk-units reached!");
    EXPECT_NE(engine.block, nullptr);
    ASSERT_EQ(engine.characterCount, 1);
    EXPECT_EQ(engine.characters[0]->unitCount, MAX_UNITS);
}

} // namespace
} // namespace murmex
