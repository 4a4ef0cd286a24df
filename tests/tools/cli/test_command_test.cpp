// murmex test: passing and failing plans, the wording of each unmet
// expectation, failures of the game the plan expects or not, plans that do
// not parse or cannot be read, and the summary line; plans updated to an
// edited script, and plans read through a translation; the units the plans
// played, as lines and as JSON, and the minimum share.
#include "tools/authoring/transcript_plan.h"
#include "tools/cli/test_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"
#include "support/script_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <utility>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::playScript;
using murmex::testing::readBytes;
using murmex::testing::ScratchFolder;
using murmex::testing::scriptWithHeader;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;

class TestCommand : public ::testing::Test {
  protected:
    // Runs one plan with the given text against the play script.
    CommandRun runPlanText(const std::string& text) {
        plan = folder.write("trial.plan", text);
        return run({plan});
    }

    CommandRun run(const std::vector<std::string>& plans, bool update = false,
                   const std::string& translation = "") {
        return murmex::testing::runCommand(murmex::tool::runTest,
                                           {script, plans, true, update, translation});
    }

    ScratchFolder folder;
    std::string script = folder.write("script.txt", playScript());
    std::string plan;
};

TEST_F(TestCommand, PassesAPlanThatFitsTheGame) {
    const CommandRun result = runPlanText("expect character Intro\n"
                                          "expect answer \"Hello there, fish & chips.\"\n"
                                          "choose \"Count\"\n"
                                          "expect var count == 3\n"
                                          "expect questions \"Pay\"\n"
                                          "choose 1\n"
                                          "expect money -2\n"
                                          "choose \"Go to Bob\"\n"
                                          "expect character Bob\n"
                                          "choose \"Back\"\n"
                                          "choose \"Bye\"\n"
                                          "expect character Intro\n"
                                          "expect var missing_one missing\n");
    EXPECT_EQ(result.status, EXIT_OK) << result.out;
    EXPECT_EQ(result.out, plan + ": passed\n1 passed, 0 failed\n");
}

TEST_F(TestCommand, ReportsEveryUnmetExpectationWithItsLine) {
    const CommandRun result = runPlanText("expect answer \"Hi\"\n"
                                          "expect questions \"Count\"\n"
                                          "expect character Bob\n"
                                          "expect var count == 1\n"
                                          "expect money 5\n"
                                          "expect error \"No questions!\"\n");
    EXPECT_EQ(result.status, EXIT_FAILED);
    EXPECT_EQ(result.out,
              plan + ":1: expected answer \"Hi\", got answer \"Hello there, fish & chips.\"\n" +
                  plan +
                  ":2: expected questions \"Count\", got questions \"Count\" \"Forget\" "
                  "\"Go to Bob\" \"Bye\" \"Dead end\"\n" +
                  plan + ":3: expected character Bob, got character Intro\n" + plan +
                  ":4: expected var count == 1, got var count missing\n" + plan +
                  ":5: expected money 5, got money 0\n" + plan +
                  ":6: expected error \"No questions!\", got no error\n" + plan +
                  ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, StopsAtAQuestionThatIsNotOffered) {
    const CommandRun result = runPlanText("choose \"Pay\"\nexpect money 5\n");
    EXPECT_EQ(result.out, plan +
                              ":1: expected question \"Pay\" to be offered, got \"Count\" "
                              "\"Forget\" \"Go to Bob\" \"Bye\" \"Dead end\"\n" +
                              plan + ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, StopsAtAQuestionNumberOutOfRange) {
    const CommandRun result = runPlanText("choose 1\nchoose 2\n");
    EXPECT_EQ(result.out, plan + ":2: expected question 2 to be offered, got \"Pay\"\n" + plan +
                              ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, AFailureTheNextStepExpectsPasses) {
    const CommandRun result = runPlanText("choose \"Forget\"\n"
                                          "expect error \"Can't apply question!\"\n"
                                          "expect money 0\n");
    EXPECT_EQ(result.status, EXIT_OK) << result.out;
}

TEST_F(TestCommand, AFailureNobodyExpectedFailsAtItsChoice) {
    const CommandRun result = runPlanText("choose \"Dead end\"\nexpect answer \"Nothing here.\"\n");
    EXPECT_EQ(result.out, plan + ":1: expected the game to go on, got error \"No questions!\"\n" +
                              plan + ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, NothingCanBeChosenAfterAFailure) {
    const CommandRun result = runPlanText("choose 5\nexpect error \"No questions!\"\n"
                                          "expect answer \"Nothing here.\"\nchoose 1\n");
    EXPECT_EQ(result.out,
              plan + ":3: expected answer \"Nothing here.\", got error \"No questions!\"\n" + plan +
                  ":4: expected a question to choose, got the game over after error "
                  "\"No questions!\"\n" +
                  plan + ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, AStartThatFailsCanBeExpected) {
    EXPECT_EQ(runPlanText("start Nobody\nexpect error \"Character not found!\"\n").status, EXIT_OK);
    const CommandRun result = runPlanText("start Nobody\nexpect character Nobody\n");
    EXPECT_EQ(result.out, plan +
                              ":1: expected Nobody to start, got error \"Character not found!\"\n" +
                              plan + ": failed\n0 passed, 1 failed\n");
}

TEST_F(TestCommand, APlanThatDoesNotParseFailsWithItsLine) {
    const std::string good = folder.write("good.plan", "choose 1\n");
    const std::string bad = folder.write("bad.plan", "choose 1\nexpect answer Counted.\n");
    // A device would be read for ever, a huge file whole: neither is a plan.
    const std::string huge =
        folder.write("huge.plan", std::string(murmex::tool::PLAN_SIZE_LIMIT + 1, '#'));
    const CommandRun result = run({good, bad, folder.path("missing.plan"), "/dev/zero", huge});
    EXPECT_EQ(result.status, EXIT_FAILED);
    EXPECT_EQ(result.out, good + ": passed\n" + bad +
                              ":2: error: expect answer needs one quoted text\n" + bad +
                              ": failed\n" + folder.path("missing.plan") +
                              ": error: cannot read plan: No such file or directory\n" +
                              folder.path("missing.plan") +
                              ": failed\n/dev/zero: error: cannot read plan: it is a device, not a "
                              "regular file\n/dev/zero: failed\n" +
                              huge + ": error: cannot read plan: it holds more than 4 MiB\n" +
                              huge + ": failed\n1 passed, 4 failed\n");
}

// Every plan starts a new game: money taken in one is back in the next.
TEST_F(TestCommand, PlansDoNotShareTheGameState) {
    const std::string first = folder.write("first.plan", "choose 1\nchoose 1\nexpect money -2\n");
    const std::string second =
        folder.write("second.plan", "expect money 0\nexpect var count missing\n");
    EXPECT_EQ(run({first, second}).status, EXIT_OK);
}

TEST_F(TestCommand, AScriptThatDoesNotLoadFailsEveryPlan) {
    script = folder.path("missing.chr");
    const std::string one = folder.write("one.plan", "choose 1\n");
    const CommandRun result = run({one, one});
    EXPECT_EQ(result.status, EXIT_FAILED);
    EXPECT_EQ(result.out, "0 passed, 2 failed\n");
    EXPECT_EQ(result.err, script + ":1: error -1: [cannot open file: No such file or directory]\n");
}

// Only the steps that no longer hold change, over their own words: the
// indent, a comment after the step, the line ends and the lines between stay.
TEST_F(TestCommand, UpdateRewritesOnlyTheExpectationsThatNoLongerHold) {
    const std::string text = "# Counting, then paying.\n"
                             "  expect answer \"Hello there.\"   # the greeting\r\n"
                             "\n"
                             "choose \"Count\"\n"
                             "expect var count == 2\n"
                             "expect questions \"Pay\" \"Leave\"\n"
                             "choose 1\n"
                             "expect money -2\n"
                             "expect answer \"Paid.\"\n"
                             "expect var count missing\n"
                             "choose \"Dead end\"\n"
                             "expect error \"Can't apply question!\"";
    plan = folder.write("trial.plan", text);
    const CommandRun result = run({plan}, true);
    EXPECT_EQ(result.status, EXIT_OK) << result.out;
    EXPECT_EQ(readBytes(plan), "# Counting, then paying.\n"
                               "  expect answer \"Hello there, fish & chips.\"   # the greeting\r\n"
                               "\n"
                               "choose \"Count\"\n"
                               "expect var count == 3\n"
                               "expect questions \"Pay\"\n"
                               "choose 1\n"
                               "expect money -2\n"
                               "expect answer \"Paid.\"\n"
                               "expect var count == 3\n"
                               "choose \"Dead end\"\n"
                               "expect error \"No questions!\"");
    EXPECT_EQ(result.out, "--- " + plan + "\n+++ " + plan +
                              "\n@@ -2 +2 @@\n-  expect answer \"Hello there.\"   # the greeting\n"
                              "+  expect answer \"Hello there, fish & chips.\"   # the greeting\n"
                              "@@ -5 +5 @@\n-expect var count == 2\n+expect var count == 3\n"
                              "@@ -6 +6 @@\n-expect questions \"Pay\" \"Leave\"\n"
                              "+expect questions \"Pay\"\n"
                              "@@ -10 +10 @@\n-expect var count missing\n+expect var count == 3\n"
                              "@@ -12 +12 @@\n-expect error \"Can't apply question!\"\n"
                              "+expect error \"No questions!\"\n" +
                              plan + ": updated\n0 up to date, 1 updated, 0 not updated\n");
    EXPECT_EQ(run({plan}, true).out,
              plan + ": up to date\n1 up to date, 0 updated, 0 not updated\n");
    EXPECT_EQ(run({plan}).status, EXIT_OK);
}

// A plan whose path the script no longer has is reported where it stops and
// kept as written, even when expectations before that point changed.
TEST_F(TestCommand, UpdateLeavesAPlanAloneWhereItsPathIsGone) {
    const struct {
        const char* plan;
        const char* stop;
    } cases[] = {
        {"expect answer \"Hi\"\nchoose \"Pay\"\n",
         ":2: expected question \"Pay\" to be offered, got \"Count\" \"Forget\" \"Go to Bob\" "
         "\"Bye\" \"Dead end\""},
        {"expect answer \"Hi\"\nchoose 1\nchoose 2\n",
         ":3: expected question 2 to be offered, got \"Pay\""},
        {"expect answer \"Hi\"\nchoose \"Dead end\"\nexpect answer \"Nothing here.\"\n",
         ":2: expected the game to go on, got error \"No questions!\""},
        {"expect answer \"Hi\"\nchoose \"Count\"\nexpect error \"No questions!\"\n",
         ":3: expected error \"No questions!\", got no error"},
        {"choose 5\nexpect error \"No questions!\"\nexpect answer \"Nothing here.\"\n",
         ":3: expected answer \"Nothing here.\", got error \"No questions!\""},
    };
    for (const auto& test : cases) {
        plan = folder.write("trial.plan", test.plan);
        const CommandRun result = run({plan}, true);
        EXPECT_EQ(result.status, EXIT_FAILED) << test.plan;
        EXPECT_EQ(result.out, plan + test.stop + "\n" + plan +
                                  ": not updated\n0 up to date, 0 updated, 1 not updated\n");
        EXPECT_EQ(readBytes(plan), test.plan);
    }
}

// The same English text may be translated one way in one place and another
// way in another; each plan text goes through the entry of the text the
// translated game shows in its place, mnemonic marks left out as shown.
TEST_F(TestCommand, TranslationReadsPlanTextsThroughTheirIds) {
    const auto translatedScript = [](const char* greeting) {
        // clang-format off
        return scriptWithHeader({
            "\"Intro\" {",
            std::string("  { S = \"0\" N = \"0\" Q = \"\" A = \"") + greeting + "\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"1\" Q = \"&Oui.\" A = \"Bien.\" ACT = \"ACT_NONE\" }",
            "  { S = \"1\" N = \"-1\" Q = \"Si.\" A = \"-\" ACT = \"ACT_NONE\" }",
            "}",
        });
        // clang-format on
    };
    const std::string po =
        folder.write("fr.po", "msgctxt \"Intro/S0/1/A\"\nmsgid \"Hello.\"\nmsgstr \"Bonjour.\"\n\n"
                              "msgctxt \"Intro/S0/2/Q\"\nmsgid \"&Yes.\"\nmsgstr \"&Oui.\"\n\n"
                              "msgctxt \"Intro/S0/2/A\"\nmsgid \"Fine.\"\nmsgstr \"Bien.\"\n\n"
                              "msgctxt \"Intro/S1/1/Q\"\nmsgid \"Yes.\"\nmsgstr \"Si.\"\n");
    plan = folder.write("trial.plan", "expect answer \"Hello.\"\n"
                                      "choose \"Yes.\"\n"
                                      "expect answer \"Fine.\"\n"
                                      "expect questions \"Yes.\"\n"
                                      "choose \"Yes.\"\n"
                                      "expect character Intro\n");
    script = folder.write("fr.chr", translatedScript("Bonjour."));
    const CommandRun passing = run({plan}, false, po);
    EXPECT_EQ(passing.status, EXIT_OK) << passing.out << passing.err;
    script = folder.write("fr.chr", translatedScript("Salut."));
    EXPECT_EQ(run({plan}, false, po).out,
              plan + ":1: expected answer \"Bonjour.\", got answer \"Salut.\"\n" + plan +
                  ": failed\n0 passed, 1 failed\n");
}

// Intro's start shows its initial answer and offers five questions; "Count"
// is applied and offers "Pay". Bob is never reached. A minimum is met
// exactly, not by the rounded share.
TEST_F(TestCommand, CoverageCountsWhatThePlansShowedAndApplied) {
    plan = folder.write("count.plan", "choose \"Count\"\n");
    murmex::tool::TestOptions options{script, {plan}, true};
    options.coverage = true;
    const CommandRun result = murmex::testing::runCommand(murmex::tool::runTest, options);
    EXPECT_EQ(result.status, EXIT_OK) << result.out;
    EXPECT_EQ(result.out, plan + ": passed\n1 passed, 0 failed\n" + script +
                              ":15: warning: initial answer \"Bob here.\" of \"Bob\" (state 0) was "
                              "never shown [unit-never-played]\n" +
                              script +
                              ":16: warning: question \"Go to Nobody\" of \"Bob\" (state 0) was "
                              "never offered [unit-never-played]\n" +
                              script +
                              ":17: warning: question \"Back\" of \"Bob\" (state 0) was never "
                              "offered [unit-never-played]\n" +
                              script + ": 7 of 10 talk units played (70%), 1 of them applied\n");
    for (const auto& [minimum, status] : {std::pair{70u, EXIT_OK}, std::pair{71u, EXIT_FAILED}}) {
        options.minCoverage = minimum;
        const CommandRun gated = murmex::testing::runCommand(murmex::tool::runTest, options);
        EXPECT_EQ(gated.status, status) << minimum;
        EXPECT_EQ(gated.out.find("is below --min-coverage") != std::string::npos,
                  status == EXIT_FAILED)
            << gated.out;
    }
}

// Both plans count, the failing one too; Intro's "Pay" is never offered.
TEST_F(TestCommand, CoverageAsJsonNamesEveryUnitAndTheFailedPlans) {
    const std::string handOver =
        folder.write("bob.plan", "choose \"Go to Bob\"\n"
                                 "choose \"Go to Nobody\"\n"
                                 "expect error \"Character not found!\"\n");
    const std::string wrong = folder.write("wrong.plan", "expect answer \"Hi\"\n");
    murmex::tool::TestOptions options{script, {handOver, wrong}, true};
    options.minCoverage = 50;
    options.json = true;
    const CommandRun result = murmex::testing::runCommand(murmex::tool::runTest, options);
    EXPECT_EQ(result.status, EXIT_FAILED);
    const nlohmann::json json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["passed"], 1);
    EXPECT_EQ(json["failed"], 1);
    EXPECT_EQ(json["plans"][1]["messages"][0],
              wrong + ":1: expected answer \"Hi\", got answer \"Hello there, fish & chips.\"");
    const nlohmann::json& coverage = json["coverage"];
    EXPECT_EQ(coverage["unitsPlayed"], 9);
    EXPECT_EQ(coverage["unitsApplied"], 2);
    EXPECT_EQ(coverage["unitsTotal"], 10);
    EXPECT_EQ(coverage["met"], true);
    ASSERT_EQ(coverage["units"].size(), 10u);
    EXPECT_EQ(coverage["units"][2], nlohmann::json::parse(R"({"character": "Intro", "state": 1,
        "line": 8, "shown": false, "applied": false})"));
    EXPECT_EQ(coverage["units"][8]["applied"], true);
    ASSERT_EQ(coverage["neverPlayed"].size(), 1u);
    EXPECT_EQ(coverage["neverPlayed"][0]["name"], "unit-never-played");
}

} // namespace
