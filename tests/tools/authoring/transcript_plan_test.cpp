// Reading transcript plans: each step form, quoting and comments, and the
// line and wording of every kind of mistake.
#include "tools/authoring/transcript_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using murmex::tool::parsePlan;
using murmex::tool::PlanError;
using murmex::tool::PlanStepKind;
using murmex::tool::TranscriptPlan;

TEST(TranscriptPlan, ReadsEveryStepForm) {
    const std::string text = "# a plan\n"
                             "start \"Old Smith\"\n"
                             "\n"
                             "choose 2   # the second\n"
                             "choose \"Say \\\"hi\\\" \\\\ wave\"\n"
                             "expect answer \"I keep # this mill.\"\r\n"
                             "expect questions \"Goodbye.\" \"Let me see the smith.\"\n"
                             "expect questions\n"
                             "expect character Smith\n"
                             "expect var met_miller == -1\n"
                             "expect var met_miller missing\n"
                             "expect money 5\n"
                             "expect error \"Can't apply question!\"";
    TranscriptPlan plan;
    PlanError error;
    ASSERT_TRUE(parsePlan(text, plan, error)) << error.line << ": " << error.message;
    ASSERT_EQ(plan.steps.size(), 11u);
    EXPECT_EQ(plan.steps[0].kind, PlanStepKind::Start);
    EXPECT_EQ(plan.steps[0].text, "Old Smith");
    EXPECT_EQ(plan.steps[1].kind, PlanStepKind::ChooseNumber);
    EXPECT_EQ(plan.steps[1].number, 2);
    EXPECT_EQ(plan.steps[1].line, 4);
    EXPECT_EQ(plan.steps[2].kind, PlanStepKind::ChooseText);
    EXPECT_EQ(plan.steps[2].text, "Say \"hi\" \\ wave");
    EXPECT_EQ(plan.steps[3].text, "I keep # this mill.");
    EXPECT_EQ(plan.steps[4].texts, (std::vector<std::string>{"Goodbye.", "Let me see the smith."}));
    EXPECT_TRUE(plan.steps[5].texts.empty());
    EXPECT_EQ(plan.steps[6].kind, PlanStepKind::ExpectCharacter);
    EXPECT_EQ(plan.steps[7].kind, PlanStepKind::ExpectVariable);
    EXPECT_EQ(plan.steps[7].number, -1);
    EXPECT_EQ(plan.steps[8].kind, PlanStepKind::ExpectMissing);
    EXPECT_EQ(plan.steps[9].number, 5);
    EXPECT_EQ(plan.steps[10].kind, PlanStepKind::ExpectError);
    EXPECT_EQ(plan.steps[10].line, 13);
}

struct BadPlan {
    const char* label;
    const char* text;
    int32_t line;
    const char* message;
};

void PrintTo(const BadPlan& testCase, std::ostream* out) {
    *out << testCase.label;
}

class BadTranscriptPlan : public ::testing::TestWithParam<BadPlan> {};

TEST_P(BadTranscriptPlan, SaysWhereAndWhy) {
    TranscriptPlan plan;
    PlanError error;
    EXPECT_FALSE(parsePlan(GetParam().text, plan, error));
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_EQ(error.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadTranscriptPlan,
    ::testing::Values(
        BadPlan{"UnknownStep", "choose 1\nchose 2\n", 2,
                "unknown step \"chose\": a step is start, choose or expect"},
        BadPlan{"QuotedKeyword", "\"choose\" 1", 1,
                "unknown step \"choose\": a step is start, choose or expect"},
        BadPlan{"OpenQuote", "\n\nexpect answer \"Hi", 3, "quoted text is not closed"},
        BadPlan{"BadEscape", "choose \"a\\nb\"", 1,
                "a backslash in quoted text must be followed by \" or \\"},
        BadPlan{"ChooseZero", "choose 0", 1,
                "choose needs a question number (choose 2) or a quoted question "
                "(choose \"Who are you?\")"},
        BadPlan{"UnquotedAnswer", "expect answer Hello", 1, "expect answer needs one quoted text"},
        BadPlan{"UnknownExpectation", "expect mood \"glad\"", 1,
                "unknown expectation \"mood\": expect answer, questions, character, var, money "
                "or error"},
        BadPlan{"BareQuestion", "expect questions \"A\" B", 1,
                "expect questions takes quoted texts only, got B"},
        BadPlan{"VarWithoutValue", "expect var x ==", 1,
                "expect var needs NAME == NUMBER or NAME missing"},
        BadPlan{"MoneyTooLarge", "expect money 4294967296", 1,
                "expect money needs one whole number"},
        BadPlan{"LateStart", "choose 1\nstart Intro", 2, "start must be the first step"}),
    [](const ::testing::TestParamInfo<BadPlan>& info) { return info.param.label; });

} // namespace
