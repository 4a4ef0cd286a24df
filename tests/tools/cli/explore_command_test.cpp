// murmex explore: each kind of failure the player can reach, found with the
// shortest list of questions; a failure that needs a variable set by another
// character; situations that differ only in where the memory keeps a
// variable; unreached units; the limits; the demo; a long chain with a failure
// at every step, whose failures are counted in the memory limit and printed up
// to --max-failures; the plans --write-plans writes, and the folders it refuses;
// a goal locked away, and goals that are none.
#include "support/analysis_script.h"
#include "support/command_run.h"
#include "tools/analysis/script_explorer.h"
#include "tools/analysis/situation_store.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/test_command.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <ostream>
#include <utility>

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
using murmex::tool::Finding;

// `murmex explore --plain FILE`, its output captured.
CommandRun explorePlain(const std::string& file) {
    murmex::tool::ExploreOptions options;
    options.file = file;
    options.plain = true;
    return runCommand(murmex::tool::runExplore, options);
}

// The report and its failures worded, while the engine they point into lives.
struct Explored {
    ExploreReport report;
    std::vector<Finding> failures;
};

Explored explore(const ScratchFolder& folder, const std::vector<std::string>& body,
                 const ExploreLimits& limits = {}) {
    auto script = loadBody(folder, body);
    if (!script.loaded.ok()) {
        return {};
    }
    Explored explored;
    explored.report = murmex::tool::exploreScript(*script.loaded.engine, *script.lines, limits);
    for (const auto& failure : explored.report.failures) {
        explored.failures.push_back(murmex::tool::describeFailure(
            *script.loaded.engine, *script.lines, explored.report, failure));
    }
    return explored;
}

std::string setVariable(const std::string& name, int value) {
    return "PARAM = \"" + name + "\" VAL = \"" + std::to_string(value) + "\" ";
}

std::string condition(const std::string& name, const std::string& op, int value = 0) {
    return "{ ID = \"" + name + "\" OP = \"" + op + "\"" +
           (op == "not" ? std::string() : " VAL = \"" + std::to_string(value) + "\"") + " } ";
}

// Characters handing over in a chain, each walking through `states` states;
// in every state a second question removes a variable that is never set. A
// failure at every step of one long path: as many failures as situations, the
// last as deep as the chain is long.
std::vector<std::string> deepChain(int characters, int states) {
    const auto name = [](int c) { return c == 0 ? std::string("Intro") : "C" + std::to_string(c); };
    std::vector<std::string> body;
    for (int c = 0; c < characters; ++c) {
        body.push_back("\"" + name(c) + "\" {");
        body.push_back(unitLine(0, 0, ""));
        for (int state = 0; state < states; ++state) {
            if (state + 1 < states) {
                body.push_back(unitLine(state, state + 1, "On."));
            } else if (c + 1 < characters) {
                body.push_back(
                    unitLine(state, 0, "On.", "ACT_COMM", "PARAM = \"" + name(c + 1) + "\" "));
            } else {
                body.push_back(unitLine(state, -1, "On."));
            }
            body.push_back(unitLine(state, state, "Forget.", "ACT_SUB_MEM", "PARAM = \"key\" "));
        }
        body.push_back("}");
    }
    return body;
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
    const Explored explored = explore(folder, GetParam().body);
    ASSERT_EQ(explored.failures.size(), 1u) << listFindings(explored.failures);
    EXPECT_EQ(explored.report.failuresFound, 1u);
    const auto& failure = explored.failures[0];
    EXPECT_EQ(failure.name, GetParam().name);
    EXPECT_EQ(failure.line, GetParam().line);
    EXPECT_EQ(failure.path, GetParam().path);
    EXPECT_NE(failure.text.find(GetParam().says), std::string::npos) << failure.text;
    EXPECT_EQ(explored.report.cutOff, CutOff::None);
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
        // Nothing tests money; paying more than was earned goes through.
        FailureCase{"MoneyBelowZero",
                    {"\"Intro\" {", unitLine(0, 0, ""),
                     unitLine(0, 0, "Earn.", "ACT_ADD_MONEY", setVariable("coins", 1)),
                     unitLine(0, 0, "Pay.", "ACT_SUB_MONEY", setVariable("coins", 3)), "}"},
                    "money-below-zero",
                    8,
                    {"Pay."},
                    "leaves -3"},
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
    const Explored explored = explore(
        folder,
        {"\"Intro\" {", unitLine(0, 0, ""),
         unitLine(0, 0, "Set ba.", "ACT_ADD_MEM", setVariable("ba", 1) + condition("ba", "not")),
         unitLine(0, 0, "Set ab.", "ACT_ADD_MEM", setVariable("ab", 1) + condition("ab", "not")),
         unitLine(0, 1, "Drop ab.", "ACT_SUB_MEM",
                  "PARAM = \"ab\" " + condition("ab", "==", 1) + condition("ba", "==", 1)),
         unitLine(1, 0, "Back."),
         unitLine(1, 2, "Where is ba?", "ACT_NONE", condition("ba", "not")), "}"});
    ASSERT_EQ(explored.failures.size(), 1u);
    EXPECT_EQ(explored.failures[0].name, "reachable-dead-end");
    EXPECT_EQ(explored.failures[0].path,
              (std::vector<std::string>{"Set ab.", "Set ba.", "Drop ab.", "Where is ba?"}));
}

TEST(ExploreCoverage, NamesWhatNoPlayReaches) {
    ScratchFolder folder;
    const ExploreReport report =
        explore(folder, {"\"Intro\" {", unitLine(0, 0, ""),
                         unitLine(0, 0, "", "ACT_NONE", condition("never", "==", 1)),
                         unitLine(0, 0, "1"), unitLine(0, 0, "2"), unitLine(0, 0, "3"),
                         unitLine(0, 0, "4"), unitLine(0, 0, "5"), unitLine(0, 0, "6"), "}"})
            .report;
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
    EXPECT_EQ(explore(folder, counter, limits).report.cutOff, CutOff::None);
    EXPECT_EQ(explore(folder, counter, limits).report.situations, 4u);
    limits.maxSituations = 2;
    EXPECT_EQ(explore(folder, counter, limits).report.cutOff, CutOff::Situations);
    limits = {};
    limits.maxDepth = 2;
    const ExploreReport shallow = explore(folder, counter, limits).report;
    EXPECT_EQ(shallow.cutOff, CutOff::Depth);
    EXPECT_EQ(shallow.deepest, 2u);
    limits = {};
    limits.maxBytes = 1;
    EXPECT_EQ(explore(folder, counter, limits).report.cutOff, CutOff::Memory);
}

TEST(ExploreCommand, DemoIsCompleteWithoutFailure) {
    const CommandRun run = explorePlain(MURMEX_DEMO_SCRIPT);
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
    const CommandRun run = explorePlain(file);
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_EQ(run.out,
              file +
                  ":7: warning: after \"Walk.\", \"Intro\" offers no question in state 1: the "
                  "player stops with \"No questions!\" [reachable-dead-end]\n" +
                  file + ":7: note: reached by 1 question: \"Walk.\"\n" + file +
                  ": explored 1 situations, up to 0 questions deep; 2 of 2 talk units reached "
                  "(100%); search complete; 1 failure reachable\n");
}

TEST(ExploreCommand, MoneyBelowZeroIsWarnedOf) {
    ScratchFolder folder;
    const std::string file = folder.write(
        "s.txt", murmex::testing::scriptWithHeader(
                     {"\"Intro\" {", unitLine(0, 0, ""),
                      unitLine(0, 1, "Buy.", "ACT_SUB_MONEY", "PARAM = \"c\" VAL = \"5\" "),
                      unitLine(1, 0, "Back."), "}"}));
    const CommandRun run = explorePlain(file);
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_EQ(run.out,
              file +
                  ":7: warning: \"Buy.\" takes the money below zero: nothing checks the money, so "
                  "the step goes through and leaves -5 [money-below-zero]\n" +
                  file + ":7: note: reached by 1 question: \"Buy.\"\n" + file +
                  ": explored 2 situations, up to 1 questions deep; 3 of 3 talk units reached "
                  "(100%); search complete; 1 failure reachable\n");
}

TEST(ExploreDeepChain, FailuresCountInTheMemoryLimit) {
    ScratchFolder folder;
    const std::vector<std::string> chain = deepChain(10, 20);
    const Explored full = explore(folder, chain);
    EXPECT_EQ(full.report.situations, 200u);
    EXPECT_EQ(full.report.failuresFound, 200u);
    ASSERT_EQ(full.failures.size(), 200u);
    EXPECT_EQ(full.failures.back().path.size(), 200u);
    // Room for every situation, but not for the failures besides.
    ExploreLimits limits;
    limits.maxBytes = full.report.store->bytes() + 1;
    const Explored cut = explore(folder, chain, limits);
    EXPECT_EQ(cut.report.cutOff, CutOff::Memory);
    EXPECT_LT(cut.report.failures.size(), cut.report.failuresFound);
}

TEST(ExploreCommand, PrintsAtMostMaxFailuresAndCountsTheRest) {
    ScratchFolder folder;
    murmex::tool::ExploreOptions options;
    options.file = folder.write("chain.txt", murmex::testing::scriptWithHeader(deepChain(10, 20)));
    options.plain = true;
    options.maxFailures = 3;
    const CommandRun text = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(text.status, murmex::tool::EXIT_FAILED);
    size_t printed = 0;
    for (size_t at = text.out.find("[reachable-cannot-apply]"); at != std::string::npos;
         at = text.out.find("[reachable-cannot-apply]", at + 1)) {
        ++printed;
    }
    EXPECT_EQ(printed, 3u) << text.out;
    for (const char* line : {"note: reached by 3 questions: \"On.\" > \"On.\" > \"Forget.\"\n",
                             ": 197 more failures found and not shown (--max-failures 3)\n",
                             "; search complete; 200 failures reachable\n"}) {
        EXPECT_NE(text.out.find(line), std::string::npos) << line << "\n" << text.out;
    }
    options.json = true;
    options.maxFailures = 0;
    const CommandRun json = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(json.status, murmex::tool::EXIT_FAILED);
    const nlohmann::json report = nlohmann::json::parse(json.out);
    EXPECT_EQ(report["failuresFound"], 200);
    EXPECT_TRUE(report["failures"].empty());
}

// The plans reach every unit the search reaches and no other (a second
// initial answer whose condition never holds, a sixth question), without a
// step that fails, and murmex test counts them played.
TEST(ExploreCommand, WritesPlansThatPlayEveryUnitReached) {
    ScratchFolder folder;
    murmex::tool::ExploreOptions options;
    options.file = folder.write(
        "s.txt",
        murmex::testing::scriptWithHeader(
            {"\"Intro\" {", unitLine(0, 0, ""),
             unitLine(0, 0, "", "ACT_NONE", condition("never", "==", 1)), unitLine(0, 1, "Walk."),
             unitLine(1, 2, "On."), unitLine(2, 0, "Back."),
             unitLine(2, 2, "Drop.", "ACT_SUB_MEM", "PARAM = \"x\" "),
             unitLine(0, 0, "Visit Mara.", "ACT_COMM", "PARAM = \"Mara\" "), unitLine(0, 0, "3"),
             unitLine(0, 0, "4"), unitLine(0, 0, "5"), unitLine(0, 0, "6"), "}", "\"Mara\" {",
             unitLine(0, 0, ""), unitLine(0, -1, "Bye."), "}"}));
    options.plain = true;
    options.writePlans = folder.path("plans");
    const CommandRun run = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED) << "Drop. cannot apply";
    EXPECT_NE(run.out.find("11 of 13 talk units reached"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(": wrote 2 plans to " + options.writePlans +
                           " (3 choices): they play 11 of 13 talk units\n"),
              std::string::npos)
        << run.out;
    std::vector<std::string> plans;
    for (const auto& entry : std::filesystem::directory_iterator(options.writePlans)) {
        plans.push_back(entry.path().string());
    }
    murmex::tool::TestOptions test{options.file, plans, true};
    test.minCoverage = 84;
    const CommandRun played = runCommand(murmex::tool::runTest, test);
    EXPECT_EQ(played.status, murmex::tool::EXIT_OK) << played.out;
    EXPECT_NE(played.out.find("2 passed, 0 failed\n"), std::string::npos) << played.out;
    EXPECT_NE(played.out.find(": 11 of 13 talk units played (84%)"), std::string::npos)
        << played.out;
}

// A folder that holds plans, a file, or a folder that cannot be made is
// refused before the search, and nothing is written or left behind.
TEST(ExploreCommand, WritesPlansOnlyIntoAFolderWithoutPlans) {
    ScratchFolder folder;
    murmex::tool::ExploreOptions options;
    options.file = MURMEX_DEMO_SCRIPT;
    options.plain = true;
    std::filesystem::create_directory(folder.path("old"));
    folder.write("old/mine.plan", "choose 1\n");
    folder.write("file", "");
    const struct {
        std::string folder;
        const char* says;
    } cases[] = {
        {folder.path("old"), "already holds plans (mine.plan)"},
        {folder.path("file"), "exists and is no folder"},
        {(std::filesystem::path(folder.path("file")) / "plans").string(), "cannot "},
    };
    for (const auto& refused : cases) {
        options.writePlans = refused.folder;
        const CommandRun run = runCommand(murmex::tool::runExplore, options);
        EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED) << refused.folder;
        EXPECT_EQ(run.out, "") << refused.folder;
        EXPECT_NE(run.err.find(refused.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"file", "old"}));
    EXPECT_EQ(folder.entries("old"), std::vector<std::string>{"mine.plan"});
}

} // namespace

// A step that locks the only goal away is a warning with its path, and the
// run fails; a goal that is none, or names no character, is a usage error.
TEST(ExploreCommand, GoalLockedAwayFailsAndBadGoalIsAUsageError) {
    ScratchFolder folder;
    const std::string file = folder.write(
        "s.txt", murmex::testing::scriptWithHeader(
                     {"\"Intro\" {", unitLine(0, 0, ""), unitLine(0, 0, "Wait."),
                      unitLine(0, 0, "Snuff it.", "ACT_ADD_MEM", "PARAM = \"out\" VAL = \"1\" "),
                      unitLine(0, 0, "Light it.", "ACT_ADD_MEM",
                               "PARAM = \"lit\" VAL = \"1\" { ID = \"out\" OP = \"not\" } "),
                      "}"}));
    murmex::tool::ExploreOptions options;
    options.file = file;
    options.plain = true;
    options.goals = {"lit == 1"};
    CommandRun run = runCommand(murmex::tool::runExplore, options);
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_NE(run.out.find(file +
                           ":8: warning: after \"Snuff it.\", no goal can be met any more: "
                           "lit == 1 [goal-unreachable]\n" +
                           file + ":8: note: reached by 1 question: \"Snuff it.\"\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(file + ": goals (lit == 1): 1 step closes the way to every goal\n"),
              std::string::npos)
        << run.out;

    options.goals = {"lit == 1", "out == 1"};
    EXPECT_EQ(runCommand(murmex::tool::runExplore, options).status, murmex::tool::EXIT_OK);

    for (const auto& [goal, error] :
         {std::pair{"lit = 1", "murmex explore: --goal: \"lit = 1\" is no goal: Syntax error: "
                               "wrong operator; write ID OP VAL"},
          std::pair{"character Mara", "murmex explore: --goal \"character Mara\": no character "
                                      "is named \"Mara\"\n"}}) {
        options.goals = {goal};
        run = runCommand(murmex::tool::runExplore, options);
        EXPECT_EQ(run.status, murmex::tool::EXIT_USAGE);
        EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}
