// murmex play: the transcript of a game, refused choices asked again, quitting,
// the exit statuses of failures, a piped game reading like a listed one, and
// the plan a game is recorded as.
#include "tools/cli/play_command.h"
#include "tools/cli/test_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::playScript;
using murmex::testing::ScratchFolder;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;
using murmex::tool::EXIT_SCRIPT_FAILED;
using murmex::tool::EXIT_USAGE;
using murmex::tool::PlayOptions;

CommandRun play(const PlayOptions& options, const std::string& input = "") {
    std::istringstream in(input);
    return murmex::testing::runCommand([&](std::ostream& out, std::ostream& err) {
        return murmex::tool::runPlay(options, in, out, err);
    });
}

class Play : public ::testing::Test {
  protected:
    PlayOptions listed(std::vector<std::string> choices) const {
        PlayOptions options = typed();
        options.scripted = true;
        options.choices = std::move(choices);
        return options;
    }
    PlayOptions typed() const {
        PlayOptions options;
        options.file = script;
        options.plain = true;
        return options;
    }

    ScratchFolder folder;
    std::string script = folder.write("script.txt", playScript());
};

const std::string OPENING = "Trial & Error\n\n"
                            "Intro: Hello there, fish & chips.\n"
                            "  1. Count\n  2. Forget\n  3. Go to Bob\n  4. Bye\n  5. Dead end\n";

TEST_F(Play, PrintsTheTranscriptOfTheListedChoices) {
    const CommandRun run = play(listed({"3", "2"}));
    EXPECT_EQ(run.status, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, OPENING +
                           "> 3\n\n"
                           "Bob: Bob here.\n  1. Go to Nobody\n  2. Back\n"
                           "> 2\n\n" +
                           OPENING.substr(OPENING.find("Intro:")));
    EXPECT_EQ(run.err, "");
}

// A game saved after some choices and resumed plays on as if never stopped;
// a saved game that is refused or missing stops the run with 1.
TEST_F(Play, ASavedGameResumesWhereItStopped) {
    PlayOptions first = listed({"3"});
    first.save = folder.path("game.sav");
    ASSERT_EQ(play(first).status, EXIT_OK);
    PlayOptions resumed = listed({"2"});
    resumed.resume = first.save;
    const CommandRun run = play(resumed);
    EXPECT_EQ(run.status, EXIT_OK) << run.err;
    const std::string whole = play(listed({"3", "2"})).out;
    // The title, then Bob's screen as the whole run shows it, and on from there.
    EXPECT_EQ(run.out,
              whole.substr(0, whole.find("Intro:")) + whole.substr(whole.find("Bob: Bob here.")));
    resumed.resume = folder.write("other.sav", "not a saved game");
    const CommandRun refused = play(resumed);
    EXPECT_EQ(refused.status, EXIT_FAILED);
    EXPECT_NE(refused.err.find("other.sav: the saved game is damaged"), std::string::npos)
        << refused.err;
}

TEST_F(Play, TracesWhatEachUnitDid) {
    PlayOptions options = listed({"1"});
    options.trace = true;
    const CommandRun run = play(options);
    EXPECT_NE(run.out.find("> 1\n  * Intro: state 0 -> 1\n  * set count = 3\n\nIntro: Counted.\n"),
              std::string::npos)
        << run.out;
}

// The events a game embedding the engine hears, after the choice that
// caused them: set, spent, handed over, and ended.
TEST_F(Play, PrintsTheEventsAGameHears) {
    PlayOptions options = listed({"1", "1", "2", "3", "2", "4"});
    options.events = true;
    const CommandRun run = play(options);
    EXPECT_EQ(run.status, EXIT_OK) << run.err;
    std::string events;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("* ", 0) == 0 || line.rfind("> ", 0) == 0) {
            events += line + "\n";
        }
    }
    EXPECT_EQ(events, "> 1\n* variable count 3\n> 1\n* money -2\n> 2\n* variable count removed\n"
                      "> 3\n* handover Bob\n> 2\n* handover Intro\n> 4\n* ended\n");
}

// Out of range is refused, never wrapped round to another question.
TEST_F(Play, RefusesAChoiceOutOfRangeAndAsksAgain) {
    const CommandRun run = play(typed(), "6\n0\nseven\n\n1\n");
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_NE(
        run.out.find(
            "> There is no question 6: choose 1 to 5, b to go back, or q to quit.\n"
            "> There is no question 0: choose 1 to 5, b to go back, or q to quit.\n"
            "> \"seven\" is not a question number: choose 1 to 5, b to go back, or q to quit.\n"
            "> Please choose 1 to 5, b to go back, or q to quit.\n"
            "> \nIntro: Counted.\n  1. Pay\n> \n"),
        std::string::npos)
        << run.out;
}

TEST_F(Play, QuitsOnQ) {
    const CommandRun run = play(typed(), "q\n1\n");
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_EQ(run.out, OPENING + "> ");
}

TEST_F(Play, APipedGameReadsLikeAListedOne) {
    PlayOptions options = typed();
    options.echoInput = true;
    const CommandRun piped = play(options, "3\n2\n");
    const CommandRun fromList = play(listed({"3", "2"}));
    // Only the prompt left open at the end of the input differs.
    EXPECT_EQ(piped.out, fromList.out + "> \n");
}

// A listed choice that no longer fits the script stops the run: the ones
// after it were meant for other prompts.
TEST_F(Play, ARefusedListedChoiceStopsTheRun) {
    const CommandRun run = play(listed({"3", "9", "1"}));
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_TRUE(run.out.ends_with(
        "> 9\nThere is no question 9: choose 1 to 2, b to go back, or q to quit.\n"))
        << run.out;
    EXPECT_EQ(run.err,
              "choice 2 of 3 in --choose (\"9\") was refused; the choices after it were not "
              "applied\n");
    EXPECT_EQ(play(listed({"x"})).err, "choice 1 of 1 in --choose (\"x\") was refused\n");
}

struct FailureCase {
    const char* label;
    std::vector<std::string> choices;
    const char* start;
    const char* message;
};

void PrintTo(const FailureCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class PlayFailure : public Play, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PlayFailure, ShowsTheWindowsMessageAndExitsWithThree) {
    PlayOptions options = listed(GetParam().choices);
    options.start = GetParam().start;
    const CommandRun run = play(options);
    EXPECT_EQ(run.status, EXIT_SCRIPT_FAILED);
    EXPECT_EQ(run.err, std::string(GetParam().message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayFailure,
    ::testing::Values(FailureCase{"CantApply", {"2"}, "Intro", "Can't apply question!"},
                      FailureCase{"NoQuestions", {"5"}, "Intro", "No questions!"},
                      FailureCase{"SwitchToNobody", {"3", "1"}, "Intro", "Character not found!"},
                      FailureCase{"StartNobody", {}, "Nobody", "Character not found!"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.label; });

TEST_F(Play, AFailedLoadShowsTheWindowsTextThenWhere) {
    PlayOptions options = typed();
    options.file = folder.path("missing.chr");
    const CommandRun run = play(options);
    EXPECT_EQ(run.status, EXIT_SCRIPT_FAILED);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Err=-1\nLine=1\nErrStr=\n" + options.file +
                           ":1: error -1: [cannot open file: No such file or directory]\n");
}

// Whatever ended the game (the choices running out, a hand-over, an end, a
// failed step), the recorded plan passes at once and says what happened.
TEST_F(Play, RecordsAPlanThatPasses) {
    struct Case {
        std::vector<std::string> choices;
        const char* recorded;
    };
    for (const Case& game :
         {Case{{"3", "2", "1"}, "expect character \"Bob\""}, Case{{"4", "2"}, "choose \"Bye\""},
          Case{{"1", "1"}, "expect questions \"Pay\""}, Case{{"3", "1"}, "expect error \""}}) {
        PlayOptions options = listed(game.choices);
        options.record = folder.path("game.plan");
        options.force = true;
        play(options);
        const std::string plan = murmex::testing::readBytes(options.record);
        const CommandRun test =
            murmex::testing::runCommand(murmex::tool::runTest, {script, {options.record}, true});
        EXPECT_EQ(test.status, EXIT_OK) << test.out << plan;
        EXPECT_NE(plan.find(game.recorded), std::string::npos) << plan;
    }
}

// b puts the game where it stood before the last choice, memory and all, as
// the preview's Back does, and the recorded plan forgets what was taken back.
TEST_F(Play, TakesBackTheLastChoiceOnB) {
    const auto recorded = [&](const std::vector<std::string>& choices) {
        PlayOptions options = listed(choices);
        options.record = folder.path("game.plan");
        options.force = true;
        const CommandRun run = play(options);
        return std::make_pair(run, murmex::testing::readBytes(options.record));
    };
    const auto [back, backPlan] = recorded({"1", "1", "b", "b", "3"});
    const auto [straight, straightPlan] = recorded({"3"});
    EXPECT_EQ(back.status, EXIT_OK) << back.err;
    EXPECT_TRUE(back.out.ends_with(straight.out.substr(straight.out.rfind("> 3\n")))) << back.out;
    EXPECT_EQ(backPlan, straightPlan);
    const CommandRun nothing = play(listed({"b"}));
    EXPECT_EQ(nothing.status, EXIT_FAILED);
    EXPECT_NE(nothing.out.find("There is no choice to take back: choose 1 to 5"), std::string::npos)
        << nothing.out;
}

TEST_F(Play, RecordingKeepsAnExistingFileWithoutForce) {
    PlayOptions options = listed({"1"});
    options.record = folder.write("taken.plan", "mine");
    const CommandRun run = play(options);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(murmex::testing::readBytes(options.record), "mine");
}

struct OutputCase {
    const char* label;
    // Names in the scratch folder; "SCRIPT" is the script, "" none.
    const char* save;
    const char* record;
    int status;
};

void PrintTo(const OutputCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class PlayRefusesAnOutput : public Play, public ::testing::WithParamInterface<OutputCase> {
  protected:
    std::string named(const std::string& name) const {
        return name == "SCRIPT" ? script : name.empty() ? "" : folder.path(name);
    }
};

// Refused before the game, --force or not, writing nothing and naming both files.
TEST_P(PlayRefusesAnOutput, BeforeAnyPlay) {
    const std::string taken = folder.write("taken", "mine");
    const std::string before = murmex::testing::readBytes(script);
    PlayOptions options = listed({"1"});
    options.save = named(GetParam().save);
    options.record = named(GetParam().record);
    options.force = true;
    const CommandRun run = play(options);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(murmex::testing::readBytes(script), before);
    EXPECT_EQ(murmex::testing::readBytes(taken), "mine");
    for (const std::string& name : {options.save, options.record}) {
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayRefusesAnOutput,
    ::testing::Values(OutputCase{"SaveOverTheScript", "SCRIPT", "", EXIT_FAILED},
                      OutputCase{"RecordOverTheScript", "", "SCRIPT", EXIT_FAILED},
                      OutputCase{"SaveAndRecordInOneFile", "taken", "taken", EXIT_USAGE}),
    [](const ::testing::TestParamInfo<OutputCase>& info) { return info.param.label; });

} // namespace
