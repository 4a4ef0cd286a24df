// Character blocks, talk units and conditions: the keyword-by-letter rules,
// each failure's code, line and message, and which pass finds it.
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

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockTest,
    ::testing::Values(LoadCase{HEADER + "\"C\" {}", LOAD_OK, 5, ""},
                      LoadCase{HEADER + "\"C\"\r\n", LOAD_SYNTAX, 6, "Syntax error: Expected {"},
                      LoadCase{HEADER + "\"C\" }", LOAD_SYNTAX, 5, "Syntax error: Expected {"},
                      LoadCase{HEADER + "\"C\" {\r\n", LOAD_SYNTAX, 6, "Syntax error: } expected"},
                      // Text between units, quoted or not, is skipped; comments still start.
                      LoadCase{block("\"loose\" words # {\r\n" + unitWith(NONE)), LOAD_OK, 9, ""},
                      LoadCase{block(unitWith(NONE + " { ID = \"x\" OP = \"not\" }")), LOAD_OK, 8,
                               ""}));

INSTANTIATE_TEST_SUITE_P(
    Fields, BlockTest,
    ::testing::Values(
        LoadCase{block("{ N = \"1\" S = \"0\" }"), LOAD_SYNTAX, 6, "Syntax error: S expected"},
        LoadCase{block("{ s = \"0\" }"), LOAD_SYNTAX, 6, "Syntax error: S expected"},
        LoadCase{
            block("{ STATE = \"0\" NEXT = \"1\" Q = \"\" ANSWER = \"a\" ACTION = \"ACT_NONE\" }"),
            LOAD_OK, 7, ""},
        LoadCase{block("{ S = \"0\" N = \"1\"\r\n}"), LOAD_SYNTAX, 7, "Syntax error: Q expected"},
        LoadCase{block("{ S = \"0\" N \"1\" }"), LOAD_SYNTAX, 6, "Syntax error: = expected"},
        LoadCase{block("{ S = \"0\" }"), LOAD_SYNTAX, 6, "Syntax error: N expected"},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"\" }"), LOAD_SYNTAX, 6,
                 "Syntax error: A expected"},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"\" A = \"a\" }"), LOAD_SYNTAX, 6,
                 "Syntax error: ACT expected"},
        // ACT before A: the action keyword becomes the answer, "x" the action.
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"\" ACT = \"ACT_NONE\" A = \"x\" }"),
                 LOAD_SYNTAX, 6, "Syntax error: unknown action."},
        LoadCase{block(unitWith("ACT = \"act_none\"")), LOAD_SYNTAX, 6,
                 "Syntax error: unknown action."},
        LoadCase{block(unitWith(NONE + " PARAM = \"skipped\"")), LOAD_OK, 8, ""},
        LoadCase{block(unitWith("ACT = \"ACT_COMM\" PARAM = \"C\" VAL = \"9\"")), LOAD_OK, 8, ""},
        LoadCase{block(unitWith("ACT = \"ACT_ADD_MONEY\" VAL = \"5\"")), LOAD_SYNTAX, 6,
                 "Syntax error: PARAM expected"},
        LoadCase{block(unitWith("ACT = \"ACT_ADD_MEM\" PARAM = \"p\"")), LOAD_SYNTAX, 6,
                 "Syntax error: VAL expected"},
        LoadCase{block(unitWith("ACT = \"ACT_SUB_INV\" PARAM = \"p\"")), LOAD_OK, 8, ""},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"" + std::string(1498, 'q') + "\" A = \"a\" " +
                       NONE + " }\r\n"),
                 LOAD_OK, 8, ""},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"" + std::string(1499, 'q') + "\" }"),
                 LOAD_SYNTAX, 6, ""},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"open\r\n A = \"a\" }"), LOAD_SYNTAX, 7,
                 QUOTE_EXPECTED},
        LoadCase{block("{ S = \"0\" N = \"0\" Q = \"{a}\" A = \"}{\" " + NONE + " }\r\n"), LOAD_OK,
                 8, ""},
        LoadCase{HEADER + "\"C\" { { S = \"0\" N = ", LOAD_SYNTAX, 5, ""}));

INSTANTIATE_TEST_SUITE_P(
    Conditions, BlockTest,
    ::testing::Values(LoadCase{block(unitWith(NONE + " { ID = \"v\" OP = \"not\" VAL = \"1\" }")),
                               LOAD_SYNTAX, 6, "Syntax error: } expected"},
                      LoadCase{block(unitWith(NONE + " { ID = \"v\" OP = \"==\" }")), LOAD_SYNTAX,
                               6, "Syntax error: VAL expected"},
                      LoadCase{block(unitWith(NONE + " { OP = \"==\" }")), LOAD_SYNTAX, 6,
                               "Syntax error: ID expected"},
                      LoadCase{block(unitWith(NONE + " { ID = \"v\" }")), LOAD_SYNTAX, 6,
                               "Syntax error: OP expected"},
                      LoadCase{block(unitWith(NONE + " { ID = \"v\" OP = \"NOT\" }")), LOAD_SYNTAX,
                               6, "Syntax error: wrong operator"},
                      LoadCase{block(unitWith(NONE + " { ID = \"v\" OP = \" ==\" VAL = \"1\" }")),
                               LOAD_SYNTAX, 6, "Syntax error: wrong operator"},
                      LoadCase{block(unitWith(NONE + " { ID = \"" + std::string(148, 'i') +
                                              "\" OP = \"<\" VAL = \"1\" }")),
                               LOAD_OK, 8, ""},
                      LoadCase{
                          block(unitWith(NONE + " { ID = \"" + std::string(149, 'i') + "\" }")),
                          LOAD_SYNTAX, 6, ""},
                      LoadCase{HEADER + "\"C\" {\r\n" +
                                   "{ S = \"0\" N = \"1\" Q = \"q\" A = \"a\" " + NONE + "\r\n",
                               LOAD_SYNTAX, 7, "Syntax error: { or } expected"},
                      LoadCase{block(unitWith(NONE + " {ID=\"a\" OP=\"not\"} {ID=\"b\" OP=\"not\"}"
                                                     " {ID=\"c\" OP=\"not\"}")),
                               LOAD_OK, 8, ""}));

// Numbers are converted only by the filling pass, so a syntax error anywhere
// in the file is reported ahead of them; the condition limit is checked by
// both passes.
INSTANTIATE_TEST_SUITE_P(
    Passes, BlockTest,
    ::testing::Values(LoadCase{block("{ S = \"x\" }"), LOAD_SYNTAX, 6, "Syntax error: N expected"},
                      LoadCase{block("\r\n{ S = \"\" N = \"1\" Q = \"q\" A = \"a\" " + NONE + " }"),
                               LOAD_SYNTAX, 7, "Syntax error: Wrong number"},
                      LoadCase{block(unitWith("ACT = \"ACT_ADD_INV\" PARAM = \"p\" VAL = \"x\"")),
                               LOAD_SYNTAX, 6, "Syntax error: Wrong number"},
                      LoadCase{block(unitWith(NONE + " { ID = \"v\" OP = \">\" VAL = \"many\" }")),
                               LOAD_SYNTAX, 6, "Wrong number."},
                      LoadCase{block("{ S = \"x\" N = \"1\" Q = \"q\" A = \"a\" " + NONE +
                                     " }\r\n" + unitWith("ACT = \"NONE\"")),
                               LOAD_SYNTAX, 7, "Syntax error: unknown action."},
                      LoadCase{
                          block("{ S = \"x\" N = \"1\" Q = \"q\" A = \"a\" " + NONE + " }\r\n" +
                                unitWith(NONE + " {ID=\"a\" OP=\"not\"} {ID=\"b\" OP=\"not\"}"
                                                " {ID=\"c\" OP=\"not\"} {ID=\"d\" OP=\"not\"}")),
                          LOAD_LIMIT, 7, "Maximum conditions reached!"}));

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
