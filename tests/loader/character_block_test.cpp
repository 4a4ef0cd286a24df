// Character blocks, talk units and conditions at their limits, and what a
// failed filling pass keeps; the cases a file can hold are under tests/scripts.
#include "load_case.h"
#include "mill_header.h"
#include "murmex/conversation_engine.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace murmex {
namespace {

using testing::expectLoad;
using testing::HEADER;
using testing::LoadCase;
using testing::QUOTE_EXPECTED;
using testing::ScratchFolder;

// A script with one character "C" whose block holds the given text.
std::string block(const std::string& inside) {
    return HEADER + "\"C\" {\r\n" + inside + "}\r\n";
}

// A unit with the given action fields and conditions; the rest is filled in.
std::string unitWith(const std::string& tail) {
    return "{ S = \"0\" N = \"1\" Q = \"q\" A = \"a\" " + tail + " }\r\n";
}

const std::string NONE = "ACT = \"ACT_NONE\"";

class BlockTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(BlockTest, ReportsCodeLineAndMessage) {
    expectLoad(GetParam());
}

// Values at their length limits; the other block, unit and condition cases
// are files under tests/scripts.
INSTANTIATE_TEST_SUITE_P(
    Lengths, BlockTest,
    ::testing::Values(
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"" + std::string(1498, 'q') + "\" A = \"a\" " +
                       NONE + " }\r\n"),
                 LOAD_OK, 8, ""},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"" + std::string(1499, 'q') + "\" }"),
                 LOAD_SYNTAX, 6, ""},
        LoadCase{block(unitWith(NONE + " { ID = \"" + std::string(148, 'i') +
                                "\" OP = \"<\" VAL = \"1\" }")),
                 LOAD_OK, 8, ""},
        LoadCase{block(unitWith(NONE + " { ID = \"" + std::string(149, 'i') + "\" }")), LOAD_SYNTAX,
                 6, ""}));

// A script with `characters` characters of `units` units each.
std::string manyCharacters(int characters, int units) {
    std::string script = HEADER;
    for (int c = 0; c < characters; ++c) {
        script += "\"C" + std::to_string(c) + "\" {\r\n";
        for (int u = 0; u < units; ++u) {
            script += unitWith(NONE);
        }
        script += "}\r\n";
    }
    return script;
}

TEST(CharacterBlockTest, CharacterAndUnitLimitsHoldInTheFillingPass) {
    expectLoad({manyCharacters(100, 1), LOAD_OK, 5 + 100 * 3, ""});
    // The 101st block starts on line 305; its '{' is read there.
    expectLoad({manyCharacters(101, 1), LOAD_LIMIT, 305, "Limits: maximum characters reached!"});
    expectLoad({manyCharacters(1, 150), LOAD_OK, 5 + 152, ""});
    expectLoad({manyCharacters(1, 151), LOAD_LIMIT, 6 + 150, "Maximum talk-units reached!"});
    // Not in the measuring pass: a syntax error after the 101st character wins.
    expectLoad(
        {manyCharacters(101, 1) + "\"Last\" }", LOAD_SYNTAX, 308, "Syntax error: Expected {"});
}

TEST(CharacterBlockTest, FailedFillingPassKeepsWhatItMade) {
    ScratchFolder folder;
    ConversationEngine engine;
    engine.disableDescramble();
    const std::string script = HEADER + "\"A\" {\r\n" + unitWith(NONE) + "}\r\n\"B\" {\r\n" +
                               unitWith(NONE) + "{ S = \"0\" N = \"x\" Q = \"\" A = \"\" " + NONE +
                               " }\r\n}\r\n";
    EXPECT_EQ(engine.load(folder.write("script.chr", script).c_str()), LOAD_SYNTAX);
    EXPECT_EQ(engine.line, 10); // the true line, counted afresh by the filling pass
    ASSERT_EQ(engine.characterCount, 2);
    EXPECT_STREQ(engine.characters[0]->name, "A");
    EXPECT_EQ(engine.characters[1]->name, nullptr);
    EXPECT_EQ(engine.characters[1]->unitCount, 1);
    EXPECT_EQ(engine.findCharacter("B"), -1);
}

} // namespace
} // namespace murmex
