// murmex lint: each warning on a script made to show it, with its line; the
// cases that must stay quiet; the output line format, JSON and exit status.
#include "support/analysis_script.h"
#include "support/command_run.h"
#include "tools/analysis/script_lint.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/lint_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <ostream>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::listFindings;
using murmex::testing::loadBody;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using murmex::testing::unitLine;
using murmex::tool::Finding;

using murmex::testing::readableHeader;
using murmex::testing::ScriptHeader;

// "Intro" on line 5 with an initial answer (6) and a goodbye (7); `extra`
// stands from line 8 on, inside its block; `after` follows the block.
std::vector<std::string> intro(const std::vector<std::string>& extra,
                               const std::vector<std::string>& after = {}) {
    std::vector<std::string> body = {
        "\"Intro\" {", unitLine(0, 0, ""),
        "  { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"-\" ACT = \"ACT_NONE\" }"};
    body.insert(body.end(), extra.begin(), extra.end());
    body.push_back("}");
    body.insert(body.end(), after.begin(), after.end());
    return body;
}

const std::string LONG_A = "a_name_of_twenty_b_A"; // 20 bytes
const std::string LONG_B = "a_name_of_twenty_b_B";

struct LintCase {
    const char* label;
    std::vector<std::string> body;
    // Empty: no warning at all is expected.
    const char* name;
    // 0: no warning of that name is expected.
    int line;
    ScriptHeader header = readableHeader();
};

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

void PrintTo(const LintCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class LintWarning : public ::testing::TestWithParam<LintCase> {};

TEST_P(LintWarning, IsGivenOnItsLine) {
    ScratchFolder folder;
    const auto script = loadBody(folder, GetParam().body, GetParam().header);
    ASSERT_TRUE(script.loaded.ok());
    const std::vector<Finding> findings =
        murmex::tool::lintScript(*script.loaded.engine, *script.lines);
    const std::string all = listFindings(findings);
    if (GetParam().name[0] == 0) {
        EXPECT_TRUE(findings.empty()) << all;
        return;
    }
    const bool found = std::any_of(findings.begin(), findings.end(), [](const Finding& finding) {
        return finding.name == GetParam().name &&
               (finding.line == GetParam().line || GetParam().line == 0);
    });
    EXPECT_EQ(found, GetParam().line != 0) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LintWarning,
    ::testing::Values(
        LintCase{"Clean", intro({unitLine(0, 1, "On."), unitLine(1, 0, "Back.")}), "", 0},
        LintCase{"NoIntro",
                 {"\"Mill\" {", unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"},
                 "no-intro",
                 1},
        LintCase{"DuplicateCharacter",
                 intro({}, {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"}),
                 "duplicate-character", 9},
        LintCase{"SwitchToMissing",
                 intro({unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Nobody\" ")}),
                 "switch-to-missing-character", 8},
        LintCase{"NextState98", intro({unitLine(0, -98, "Go.")}), "next-state-98", 8},
        LintCase{"NextState99", intro({unitLine(0, -99, "Go.")}), "next-state-99", 8},
        LintCase{"DeadEndState", intro({unitLine(0, 3, "Go.")}), "dead-end-state", 8},
        LintCase{"StateNeverEntered", intro({unitLine(4, 0, "Lost.")}), "state-never-entered", 8},
        // Entered only through a state that is never entered itself.
        LintCase{"StateEnteredOnlyFromUnenteredState",
                 intro({unitLine(4, 5, "Lost."), unitLine(5, 0, "Also lost.")}),
                 "state-never-entered", 9},
        LintCase{"HiddenAnswer",
                 intro({unitLine(0, 1, "On."), unitLine(1, 0, "Back."), unitLine(1, 0, "")}),
                 "hidden-answer", 10},
        LintCase{"InitialAnswerAction",
                 intro({unitLine(0, 0, "", "ACT_ADD_MEM", "PARAM = \"x\" VAL = \"1\" ")}),
                 "initial-answer-action", 8},
        LintCase{"SixQuestions",
                 intro({unitLine(0, 0, "2"), unitLine(0, 0, "3"), unitLine(0, 0, "4"),
                        unitLine(0, 0, "5"), unitLine(0, 0, "6")}),
                 "too-many-questions", 12},
        // Two of the six exclude each other, so five at most are available.
        LintCase{"SixQuestionsNeverTogether",
                 intro({unitLine(0, 0, "2"), unitLine(0, 0, "3"), unitLine(0, 0, "4"),
                        unitLine(0, 0, "5", "ACT_NONE", "{ ID = \"x\" OP = \"<\" VAL = \"3\" } "),
                        unitLine(0, 0, "6", "ACT_NONE", "{ ID = \"x\" OP = \">\" VAL = \"2\" } ")}),
                 "too-many-questions", 0},
        LintCase{"NoInitialAnswer", intro({}, {"\"Mill\" {", unitLine(0, -1, "Bye."), "}"}),
                 "cannot-start", 9},
        LintCase{"NoQuestionAtStart",
                 intro({}, {"\"Mill\" {", unitLine(0, 0, ""), unitLine(1, 0, "Bye."), "}"}),
                 "cannot-start", 9},
        LintCase{"TestedNeverSet",
                 intro({unitLine(0, 0, "Go.", "ACT_NONE",
                                 "{ ID = \"ghost\" OP = \"==\" VAL = \"1\" } ")}),
                 "variable-never-set", 8},
        LintCase{"SetNeverTested",
                 intro({unitLine(0, 0, "Go.", "ACT_ADD_MEM", "PARAM = \"wick\" VAL = \"1\" ")}),
                 "variable-never-tested", 8},
        LintCase{"TestedNameOneLetterFromASetOne",
                 intro({unitLine(0, 0, "Go.", "ACT_ADD_MEM", "PARAM = \"wick\" VAL = \"1\" "),
                        unitLine(0, 0, "Test.", "ACT_NONE",
                                 "{ ID = \"wik\" OP = \"==\" VAL = \"1\" } ")}),
                 "variable-did-you-mean", 9},
        LintCase{"TestedItem",
                 intro({unitLine(0, 0, "Take.", "ACT_ADD_INV", "PARAM = \"lamp\" VAL = \"1\" "),
                        unitLine(0, 0, "Light.", "ACT_NONE",
                                 "{ ID = \"lamp\" OP = \"==\" VAL = \"1\" } ")}),
                 "item-tested", 9},
        LintCase{"StartCharacterInLowerCase",
                 {"\"intro\" {", unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"},
                 "start-character-case",
                 5},
        LintCase{"SecondMoneyName",
                 intro({unitLine(0, 0, "Earn.", "ACT_ADD_MONEY", "PARAM = \"coins\" VAL = \"1\" "),
                        unitLine(0, 0, "Pay.", "ACT_SUB_MONEY", "PARAM = \"gold\" VAL = \"1\" ")}),
                 "money-param", 9},
        LintCase{"RemovedNeverSet",
                 intro({unitLine(0, 0, "Go.", "ACT_SUB_MEM", "PARAM = \"ghost\" ")}),
                 "removed-never-set", 8},
        LintCase{"LongName",
                 intro({unitLine(0, 0, "Go.", "ACT_ADD_MEM",
                                 "PARAM = \"" + LONG_A + "\" VAL = \"1\" ")}),
                 "long-variable-name", 8},
        LintCase{
            "NamesEqualWhenCut",
            intro({unitLine(0, 0, "Go.", "ACT_ADD_MEM", "PARAM = \"" + LONG_A + "\" VAL = \"1\" "),
                   unitLine(0, 0, "Test.", "ACT_NONE",
                            "{ ID = \"" + LONG_B + "\" OP = \"==\" VAL = \"1\" } ")}),
            "variable-names-collide", 9},
        LintCase{"HighBytesInVariable",
                 intro({unitLine(0, 0, "Go.", "ACT_ADD_MEM", "PARAM = \"caf\xe9\" VAL = \"1\" ")}),
                 "non-ascii-name", 8},
        LintCase{"AnswerOfEndingUnit", intro({unitLine(0, -1, "Leave.")}), "answer-never-shown", 8},
        LintCase{"AnswerOfHandOver",
                 intro({unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Intro\" ")}),
                 "answer-never-shown", 8},
        LintCase{"AmpersandBeforeBlank", intro({unitLine(0, 0, "Fish & chips")}), "stray-ampersand",
                 8},
        LintCase{"AmpersandAtEnd", intro({unitLine(0, 0, "Fish &")}), "stray-ampersand", 8},
        LintCase{"AmpersandBeforeSign", intro({unitLine(0, 0, "Fish &!")}), "stray-ampersand", 8},
        LintCase{"AmpersandsThatAreFine",
                 intro({unitLine(0, 0, "Fish && chips"), unitLine(0, 0, "&\xc9t\xe9")}),
                 "stray-ampersand", 0},
        LintCase{"SharedMnemonic", intro({unitLine(0, 0, "&Go."), unitLine(0, 0, "&get up.")}),
                 "shared-mnemonic", 9},
        LintCase{
            "SharedMnemonicNeverTogether",
            intro({unitLine(0, 0, "&Go.", "ACT_NONE", "{ ID = \"x\" OP = \"<\" VAL = \"3\" } "),
                   unitLine(0, 0, "&Get.", "ACT_NONE", "{ ID = \"x\" OP = \">\" VAL = \"2\" } ")}),
            "shared-mnemonic", 0},
        LintCase{"SharedMnemonicInOtherStates",
                 intro({unitLine(0, 1, "&Go."), unitLine(1, 0, "&Get.")}), "shared-mnemonic", 0},
        LintCase{"DarkHeaderColour", intro({}), "low-contrast", 3,
                 ScriptHeader{.color = {0, 0, 96}, .textColor = {255, 255, 200}}},
        LintCase{"TextColourNearTheLines", intro({}), "low-contrast", 4,
                 ScriptHeader{.color = {140, 190, 255}, .textColor = {90, 120, 160}}},
        // The best the derived colours allow: white lines and hover, black text.
        LintCase{"WhiteHeader", intro({}), "low-contrast", 0,
                 ScriptHeader{.color = {255, 255, 255}, .textColor = {0, 0, 0}}},
        // A long French question, the kind of text a translation cuts off.
        LintCase{"QuestionCutOff",
                 intro({unitLine(0, 0,
                                 "Pourriez-vous m'expliquer pourquoi le meunier a ferm\xe9 son "
                                 "moulin si t\xf4t ce matin ?")}),
                 "text-cut-off", 8},
        LintCase{"LongAnswerCutOff",
                 intro({"  { S = \"0\" N = \"0\" Q = \"Tell me.\" A = \"" + std::string(60, 'W') +
                        " " + std::string(60, 'W') + "\" ACT = \"ACT_NONE\" }"}),
                 "text-cut-off", 8},
        // Wide only with its markers, and an answer that is never shown.
        LintCase{"TextsThatFit",
                 intro({unitLine(0, 0, repeated("&i", 60)),
                        "  { S = \"0\" N = \"-1\" Q = \"Go.\" A = \"" + std::string(200, 'W') +
                            "\" ACT = \"ACT_NONE\" }"}),
                 "text-cut-off", 0},
        LintCase{"HighBytesInCharacter",
                 intro({unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Ren\xe9\" ")},
                       {"\"Ren\xe9\" {", unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"}),
                 "non-ascii-name", 10}),
    [](const ::testing::TestParamInfo<LintCase>& info) { return info.param.label; });

// The whole line of one warning of each kind that an author meets unawares.
struct MessageCase {
    std::vector<std::string> body;
    ScriptHeader header;
    // What follows "FILE:".
    std::string line;
};

TEST(LintCommand, PrintsCompilerStyleLinesAndFailsOnWarnings) {
    const MessageCase cases[] = {
        {intro({unitLine(0, -99, "Go.")}), readableHeader(),
         "8: warning: next state -99: the player stops as after a failure, with a message left "
         "over from before [next-state-99]"},
        {intro({unitLine(0, -1, "Leave.")}), readableHeader(),
         "8: warning: the answer \"Fine.\" is never shown: next state -1 ends the conversation "
         "and \"Intro\" starts again at once; write \"-\" for no answer [answer-never-shown]"},
        {intro({unitLine(0, 0, "Fish & chips")}), readableHeader(),
         "8: warning: an '&' before a blank underlines the blank and hides the '&' in \"Fish & "
         "chips\"; write \"&&\" for an ampersand [stray-ampersand]"},
        {intro({unitLine(0, 0, "&Go."), unitLine(0, 0, "&get up.")}), readableHeader(),
         "9: warning: \"&get up.\" can be offered together with \"&Go.\" (line 8) and has the "
         "same mnemonic: its key always chooses the earlier one [shared-mnemonic]"},
        {intro({}), ScriptHeader{.color = {0, 0, 96}, .textColor = {255, 255, 200}},
         "3: warning: the hovered question colour 0, 0, 96 on the line colour 0, 0, 56 has a "
         "contrast of 1.11:1, below 2.00:1: hard to read [low-contrast]"},
    };
    for (const MessageCase& testCase : cases) {
        ScratchFolder folder;
        const std::string file = folder.write(
            "s.txt", murmex::testing::scriptWithHeader(testCase.body, testCase.header));
        const CommandRun run = runCommand(murmex::tool::runLint, {file, true, false});
        EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
        EXPECT_EQ(run.out, file + ":" + testCase.line + "\n");
    }
}

// A component outside 0 to 255 is named with the number the window takes
// in its place, on the line of its colour.
TEST(LintColorRange, NamesTheNumberWrittenAndTheOneTaken) {
    struct RangeCase {
        std::array<int, 3> color;
        std::array<int, 3> textColor;
        std::string expected;
    };
    const std::array<int, 3> lines = readableHeader().color;
    const std::array<int, 3> texts = readableHeader().textColor;
    const RangeCase cases[] = {
        {{300, 190, 255},
         texts,
         "3: the red component of COLOR, \"300\", lies outside 0 to 255: the window takes it "
         "as 44 [color-out-of-range]\n"},
        {lines,
         {255, 236, -1},
         "4: the blue component of TEXTCOLOR, \"-1\", lies outside 0 to 255: the window takes "
         "it as 255 [color-out-of-range]\n"},
        {{0, 255, 255}, texts, ""},
    };
    for (const RangeCase& testCase : cases) {
        ScratchFolder folder;
        const auto script =
            loadBody(folder, intro({}),
                     ScriptHeader{.color = testCase.color, .textColor = testCase.textColor});
        std::vector<Finding> findings =
            murmex::tool::lintScript(*script.loaded.engine, *script.lines);
        std::erase_if(findings,
                      [](const Finding& finding) { return finding.name != "color-out-of-range"; });
        EXPECT_EQ(listFindings(findings), testCase.expected);
    }
}

TEST(LintCommand, JsonListsTheSameWarnings) {
    ScratchFolder folder;
    const std::string file =
        folder.write("s.txt", murmex::testing::scriptWithHeader(intro({unitLine(0, 3, "Go.")}),
                                                                readableHeader()));
    const CommandRun run = runCommand(murmex::tool::runLint, {file, true, true});
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    const nlohmann::json json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["warnings"].size(), 1u) << run.out;
    EXPECT_EQ(json["warnings"][0]["line"], 8);
    EXPECT_EQ(json["warnings"][0]["name"], "dead-end-state");
}

// A file name may hold any byte; the JSON writers of lint and explore show
// one that is not UTF-8 as U+FFFD instead of stopping.
TEST(JsonOutput, SurvivesAFileNameThatIsNotUtf8) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: a name that is not UTF-8 cannot be made";
#endif
    ScratchFolder folder;
    const std::string file = folder.write(
        "bad\xFF.txt",
        murmex::testing::scriptWithHeader(intro({unitLine(0, 3, "Go.")}), readableHeader()));
    murmex::tool::ExploreOptions explore;
    explore.file = file;
    explore.plain = true;
    explore.json = true;
    for (const CommandRun& run : {runCommand(murmex::tool::runLint, {file, true, true}),
                                  runCommand(murmex::tool::runExplore, explore)}) {
        EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out)["file"], folder.path("bad\xEF\xBF\xBD.txt"));
    }
}

TEST(LintCommand, DemoHasNoWarnings) {
    const CommandRun run = runCommand(murmex::tool::runLint, {MURMEX_DEMO_SCRIPT, true, false});
    EXPECT_EQ(run.status, murmex::tool::EXIT_OK) << run.out << run.err;
}

TEST(LintCommand, FailedLoadIsAnError) {
    const CommandRun run = runCommand(murmex::tool::runLint, {"/nonexistent/x.chr", true, false});
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_NE(run.err.find("error -1"), std::string::npos) << run.err;
}

} // namespace
