// Goals of explore: the one step that locks a goal away is found, by the
// shortest way, and named by its unit; a goal the player can always still
// meet, or one of several, gives nothing; "character NAME" and "ID not"
// goals; no goal at all from the start; and no verdict from a search cut
// off. Goal texts are read by the condition block's rules.
#include "support/analysis_script.h"
#include "tools/analysis/goal_findings.h"
#include "tools/analysis/script_explorer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using murmex::testing::listFindings;
using murmex::testing::loadBody;
using murmex::testing::ScratchFolder;
using murmex::testing::unitLine;
using murmex::tool::Goal;

std::string set(const std::string& name, int value, const std::string& condition = "") {
    return "PARAM = \"" + name + "\" VAL = \"" + std::to_string(value) + "\" " + condition;
}

std::string absent(const std::string& name) {
    return "{ ID = \"" + name + "\" OP = \"not\" } ";
}

// Lines 5 to 10: lighting the candle needs the wick; cutting it, before the
// candle is lit, locks the candle away for good.
const std::vector<std::string> CANDLE = {
    "\"Intro\" {",
    unitLine(0, 0, ""),
    unitLine(0, 0, "Wait."),
    unitLine(0, 0, "Light the candle.", "ACT_ADD_MEM", set("lit", 1, absent("wick"))),
    unitLine(0, 0, "Cut the wick.", "ACT_ADD_MEM", set("wick", 0, absent("lit"))),
    "}",
};

// Lines 5 to 13: the gate to Mara can be locked; the letter taken, and with
// the second script's line 9 dropped again.
std::vector<std::string> garden(bool canDrop) {
    return {
        "\"Intro\" {",
        unitLine(0, 0, ""),
        unitLine(0, 0, "Visit Mara.", "ACT_COMM", "PARAM = \"Mara\" " + absent("gate")),
        unitLine(0, 0, "Lock the gate.", "ACT_ADD_MEM", set("gate", 1)),
        canDrop ? unitLine(0, 0, "Drop the letter.", "ACT_SUB_MEM",
                           "PARAM = \"letter\" { ID = \"letter\" OP = \"==\" VAL = \"1\" } ")
                : unitLine(0, 0, "Rest."),
        unitLine(0, 0, "Take the letter.", "ACT_ADD_MEM", set("letter", 1, absent("letter"))),
        "}",
        "\"Mara\" {",
        unitLine(0, 0, ""),
        unitLine(0, -1, "Goodbye."),
        "}",
    };
}

struct GoalCase {
    const char* label;
    std::vector<std::string> body;
    std::vector<std::string> goals;
    uint64_t maxSituations;
    // "LINE: path" of each finding; the path's questions joined by " > ".
    std::vector<std::string> expected;
    bool judged;
};

void PrintTo(const GoalCase& goalCase, std::ostream* out) {
    *out << goalCase.label;
}

class ExploreGoals : public ::testing::TestWithParam<GoalCase> {};

TEST_P(ExploreGoals, ReportsEachStepThatClosesTheWay) {
    const GoalCase& c = GetParam();
    ScratchFolder folder;
    auto script = loadBody(folder, c.body);
    ASSERT_TRUE(script.loaded.ok());
    murmex::tool::GoalSearch search;
    std::string error;
    for (const std::string& text : c.goals) {
        Goal goal;
        ASSERT_TRUE(murmex::tool::readGoal(text, goal, error)) << error;
        search.goals.push_back(goal);
    }
    ASSERT_TRUE(murmex::tool::resolveGoals(search.goals, *script.loaded.engine, error)) << error;
    murmex::tool::ExploreLimits limits;
    limits.maxSituations = c.maxSituations;
    const auto report =
        murmex::tool::exploreScript(*script.loaded.engine, *script.lines, limits, {}, search);
    EXPECT_EQ(report.goalVerdict == murmex::tool::GoalVerdict::Judged, c.judged);
    const auto findings =
        murmex::tool::goalFindings(*script.loaded.engine, *script.lines, report, search.goals);
    std::vector<std::string> found;
    for (const auto& finding : findings) {
        EXPECT_EQ(finding.name, "goal-unreachable");
        std::string path;
        for (const std::string& question : finding.path) {
            path += (path.empty() ? "" : " > ") + question;
        }
        found.push_back(std::to_string(finding.line) + ": " + path);
    }
    EXPECT_EQ(found, c.expected) << listFindings(findings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExploreGoals,
    ::testing::Values(
        GoalCase{"CutWickLocksTheCandle", CANDLE, {"lit == 1"}, 1000, {"9: Cut the wick."}, true},
        GoalCase{"EitherGoalStaysWithinReach", CANDLE, {"lit == 1", "wick == 0"}, 1000, {}, true},
        GoalCase{"NoGoalFromTheStart", CANDLE, {"lit == 2"}, 1000, {"1: "}, true},
        GoalCase{"CutOffClaimsNothing", CANDLE, {"lit == 1"}, 1, {}, false},
        GoalCase{"LockedGateLocksMaraOut",
                 garden(true),
                 {"character Mara"},
                 1000,
                 {"8: Lock the gate."},
                 true},
        GoalCase{"LetterCanBeDropped", garden(true), {"letter not"}, 1000, {}, true},
        GoalCase{"LetterKeptForGood",
                 garden(false),
                 {"letter not"},
                 1000,
                 {"10: Take the letter."},
                 true}),
    [](const ::testing::TestParamInfo<GoalCase>& info) { return std::string(info.param.label); });

struct GoalText {
    const char* text;
    // The loader's message for the fault, or "" for a goal.
    const char* fault;
    const char* name;
    bool isCharacter;
};

class GoalTexts : public ::testing::TestWithParam<GoalText> {};

TEST_P(GoalTexts, ReadByTheConditionRules) {
    Goal goal;
    std::string error;
    const bool read = murmex::tool::readGoal(GetParam().text, goal, error);
    EXPECT_EQ(read, *GetParam().fault == 0) << error;
    if (read) {
        EXPECT_EQ(goal.name, GetParam().name);
        EXPECT_EQ(goal.isCharacter, GetParam().isCharacter);
    } else {
        EXPECT_NE(error.find(GetParam().fault), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoalTexts,
    ::testing::Values(GoalText{" old key  > 0x10 ", "", "old key", false},
                      GoalText{"letter not", "", "letter", false},
                      GoalText{"character Old Mara", "", "Old Mara", true},
                      GoalText{"lit = 1", "Syntax error: wrong operator", "", false},
                      GoalText{"letter not 1", "Syntax error: } expected", "", false},
                      GoalText{"lit ==", "Syntax error: VAL expected", "", false},
                      GoalText{"lit == one", "Wrong number.", "", false},
                      GoalText{"", "Syntax error: ID expected", "", false}));

} // namespace
