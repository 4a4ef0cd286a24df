// murmex test: passing and failing plans, the wording of each unmet
// expectation, failures of the game the plan expects or not, plans that do
// not parse or cannot be read, and the summary line.
#include "tools/authoring/transcript_plan.h"
#include "tools/cli/test_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::playScript;
using murmex::testing::ScratchFolder;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;

class TestCommand : public ::testing::Test {
  protected:
    // Runs one plan with the given text against the play script.
    CommandRun runPlanText(const std::string& text) {
        plan = folder.write("trial.plan", text);
        return run({plan});
    }

    CommandRun run(const std::vector<std::string>& plans) {
        return murmex::testing::runCommand(murmex::tool::runTest, {script, plans, true});
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

} // namespace
