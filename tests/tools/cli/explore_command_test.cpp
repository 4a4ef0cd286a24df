// murmex explore: each kind of failure the player can reach, found with the
// shortest list of questions; a failure that needs a variable set by another
// character; situations that differ only in where the memory keeps a
// variable; unreached units; the limits; the demo.
#include "support/analysis_script.h"
#include "support/command_run.h"
#include "tools/analysis/script_explorer.h"
#include "tools/cli/explore_command.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::listFindings;
using murmex::testing::loadBody;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using murmex::testing::unitLine;
using murmex::tool::CutOff;
using murmex::tool::ExploreLimits;
using murmex::tool::ExploreReport;

ExploreReport explore(const ScratchFolder& folder, const std::vector<std::string>& body,
                      const ExploreLimits& limits = {}) {
    auto script = loadBody(folder, body);
    if (!script.loaded.ok()) {
        return {};
    }
    return murmex::tool::exploreScript(*script.loaded.engine, *script.lines, limits);
}

std::string setVariable(const std::string& name, int value) {
    return "PARAM = \"" + name + "\" VAL = \"" + std::to_string(value) + "\" ";
}

std::string condition(const std::string& name, const std::string& op, int value = 0) {
    return "{ ID = \"" + name + "\" OP = \"" + op + "\"" +
           (op == "not" ? std::string() : " VAL = \"" + std::to_string(value) + "\"") + " } ";
}

struct FailureCase {
    const char* label;
    std::vector<std::string> body;
    const char* name;
    int line;
    std::vector<std::string> path;
    // A text the finding must quote: the player's message, mostly.
    const char* says;
};

void PrintTo(const FailureCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class ReachableFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReachableFailure, IsReportedWithTheShortestPath) {
    ScratchFolder folder;
    const ExploreReport report = explore(folder, GetParam().body);
    ASSERT_EQ(report.failures.size(), 1u) << listFindings(report.failures);
    const auto& failure = report.failures[0];
    EXPECT_EQ(failure.name, GetParam().name);
    EXPECT_EQ(failure.line, GetParam().line);
    EXPECT_EQ(failure.path, GetParam().path);
    EXPECT_NE(failure.text.find(GetParam().says), std::string::npos) << failure.text;
    EXPECT_EQ(report.cutOff, CutOff::None);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReachableFailure,
    ::testing::Values(
        FailureCase{"NoIntro",
                    {"\"Mill\" {", unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"},
                    "no-intro",
                    1,
                    {},
                    "\"Character not found!\""},
        FailureCase{"DeadEnd",
                    {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, 0, "Stay."),
                     unitLine(0, 1, "Walk."), unitLine(1, 2, "On."), "}"},
                    "reachable-dead-end",
                    9,
                    {"Walk.", "On."},
                    "\"No questions!\""},
        FailureCase{"RemovingAMissingVariable",
                    {"\"Intro\" {", unitLine(0, 0, ""),
                     unitLine(0, 0, "Set.", "ACT_ADD_MEM", setVariable("x", 1)),
                     unitLine(0, 0, "Drop.", "ACT_SUB_MEM", "PARAM = \"x\" "), "}"},
                    "reachable-cannot-apply",
                    8,
                    {"Drop."},
                    "\"Can't apply question!\""},
        FailureCase{"NextState99",
                    {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, 0, "Stay."),
                     unitLine(0, -99, "Stop."), "}"},
                    "reachable-next-state-99",
                    8,
                    {"Stop."},
                    "\"Character not found!\" left over"},
        FailureCase{"SwitchToMissingCharacter",
                    {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, 0, "Stay."),
                     unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Smith\" "), "}"},
                    "reachable-missing-character",
                    8,
                    {"Go."},
                    "\"Character not found!\""},
        // Without ACT_COMM the answer "Fine." is taken for the name.
        FailureCase{"NextState98",
                    {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, 0, "Stay."),
                     unitLine(0, -98, "Go."), "}"},
                    "reachable-missing-character",
                    8,
                    {"Go."},
                    "\"Fine.\""},
        FailureCase{"SwitchToCharacterWithoutInitialAnswer",
                    {"\"Intro\" {", unitLine(0, 0, ""),
                     unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Mill\" "), "}", "\"Mill\" {",
                     unitLine(0, 0, "Hm."), "}"},
                    "reachable-start-fails",
                    9,
                    {"Go."},
                    "\"No initial answer found!\""},
        FailureCase{"SwitchToCharacterWithoutQuestions",
                    {"\"Intro\" {", unitLine(0, 0, ""),
                     unitLine(0, 0, "Go.", "ACT_COMM", "PARAM = \"Mill\" "), "}", "\"Mill\" {",
                     unitLine(0, 0, ""), "}"},
                    "reachable-start-fails",
                    9,
                    {"Go."},
                    "\"No questions found!\""},
        // Intro's only initial answer needs "fresh" unset; the second round fails.
        FailureCase{"IntroCannotStartAgain",
                    {"\"Intro\" {", unitLine(0, 0, "", "ACT_NONE", condition("fresh", "not")),
                     unitLine(0, -1, "Leave.", "ACT_ADD_MEM", setVariable("fresh", 1)), "}"},
                    "reachable-start-fails",
                    5,
                    {"Leave."},
                    "\"No initial answer found!\""},
        // The key comes from Mara; the door in Intro leads to a dead end. The
        // longer way round through Mara's chatter is not the one reported.
        FailureCase{"VariableSetByAnotherCharacter",
                    {"\"Intro\" {", unitLine(0, 0, ""),
                     unitLine(0, 0, "Visit Mara.", "ACT_COMM", "PARAM = \"Mara\" "),
                     unitLine(0, 5, "Open the door.", "ACT_NONE", condition("key", "==", 1)), "}",
                     "\"Mara\" {", unitLine(0, 0, ""), unitLine(0, 1, "Chat."),
                     unitLine(1, -1, "Take the key.", "ACT_ADD_MEM", setVariable("key", 1)),
                     unitLine(0, -1, "Take the key now.", "ACT_ADD_MEM", setVariable("key", 1)),
                     "}"},
                    "reachable-dead-end",
                    8,
                    {"Visit Mara.", "Take the key now.", "Open the door."},
                    "\"No questions!\""}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.label; });

// "ab" and "ba" start their search at the same slot. Set in the order ab, ba,
// removing ab empties the slot in front of ba, which is then not found any
// more; set the other way round, nothing is lost. Both orders give the same
// variables with the same values, met first in the harmless order, so a
// search that kept only the variables would never try the harmful one.
TEST(ExploreSlotLayout, SameVariablesInOtherSlotsAreAnotherSituation) {
    ScratchFolder folder;
    const ExploreReport report = explore(
        folder,
        {"\"Intro\" {", unitLine(0, 0, ""),
         unitLine(0, 0, "Set ba.", "ACT_ADD_MEM", setVariable("ba", 1) + condition("ba", "not")),
         unitLine(0, 0, "Set ab.", "ACT_ADD_MEM", setVariable("ab", 1) + condition("ab", "not")),
         unitLine(0, 1, "Drop ab.", "ACT_SUB_MEM",
                  "PARAM = \"ab\" " + condition("ab", "==", 1) + condition("ba", "==", 1)),
         unitLine(1, 0, "Back."),
         unitLine(1, 2, "Where is ba?", "ACT_NONE", condition("ba", "not")), "}"});
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].name, "reachable-dead-end");
    EXPECT_EQ(report.failures[0].path,
              (std::vector<std::string>{"Set ab.", "Set ba.", "Drop ab.", "Where is ba?"}));
}

TEST(ExploreCoverage, NamesWhatNoPlayReaches) {
    ScratchFolder folder;
    const ExploreReport report =
        explore(folder, {"\"Intro\" {", unitLine(0, 0, ""),
                         unitLine(0, 0, "", "ACT_NONE", condition("never", "==", 1)),
                         unitLine(0, 0, "1"), unitLine(0, 0, "2"), unitLine(0, 0, "3"),
                         unitLine(0, 0, "4"), unitLine(0, 0, "5"), unitLine(0, 0, "6"), "}"});
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(report.unitsTotal, 8);
    EXPECT_EQ(report.unitsReached, 6);
    ASSERT_EQ(report.unreached.size(), 2u);
    EXPECT_EQ(report.unreached[0].unit, 1) << "the initial answer whose condition never holds";
    EXPECT_EQ(report.unreached[1].unit, 7) << "the sixth question";
}

TEST(ExploreLimitsTest, CutOffIsReported) {
    ScratchFolder folder;
    const std::vector<std::string> counter = {
        "\"Intro\" {",
        unitLine(0, 0, ""),
        unitLine(0, 0, "One.", "ACT_ADD_MEM", setVariable("n", 1)),
        unitLine(0, 0, "Two.", "ACT_ADD_MEM", setVariable("n", 2) + condition("n", "==", 1)),
        unitLine(0, 0, "Three.", "ACT_ADD_MEM", setVariable("n", 3) + condition("n", "==", 2)),
        "}"};
    ExploreLimits limits;
    EXPECT_EQ(explore(folder, counter, limits).cutOff, CutOff::None);
    EXPECT_EQ(explore(folder, counter, limits).situations, 4u);
    limits.maxSituations = 2;
    EXPECT_EQ(explore(folder, counter, limits).cutOff, CutOff::Situations);
    limits = {};
    limits.maxDepth = 2;
    const ExploreReport shallow = explore(folder, counter, limits);
    EXPECT_EQ(shallow.cutOff, CutOff::Depth);
    EXPECT_EQ(shallow.deepest, 2u);
    limits = {};
    limits.maxBytes = 1;
    EXPECT_EQ(explore(folder, counter, limits).cutOff, CutOff::Memory);
}

TEST(ExploreCommand, DemoIsCompleteWithoutFailure) {
    murmex::tool::ExploreOptions options;
    options.file = MURMEX_DEMO_SCRIPT;
    options.plain = true;
    const CommandRun run = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(run.status, murmex::tool::EXIT_OK) << run.out;
    EXPECT_NE(run.out.find("35 of 35 talk units reached (100%); search complete; no failure is "
                           "reachable"),
              std::string::npos)
        << run.out;
}

TEST(ExploreCommand, FailurePrintsWarningAndPathAndFails) {
    ScratchFolder folder;
    const std::string file =
        folder.write("s.txt", murmex::testing::scriptWithHeader({"\"Intro\" {", unitLine(0, 0, ""),
                                                                 unitLine(0, 1, "Walk."), "}"}));
    murmex::tool::ExploreOptions options;
    options.file = file;
    options.plain = true;
    const CommandRun run = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_EQ(run.out,
              file +
                  ":7: warning: after \"Walk.\", \"Intro\" offers no question in state 1: the "
                  "player stops with \"No questions!\" [reachable-dead-end]\n" +
                  file + ":7: note: reached by 1 question: \"Walk.\"\n" + file +
                  ": explored 1 situations, up to 0 questions deep; 2 of 2 talk units reached "
                  "(100%); search complete; 1 failure reachable\n");
}

} // namespace
