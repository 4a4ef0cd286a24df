// murmex stats: the figures of a small script and the word count's rule.
#include "tools/cli/stats_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::playScript;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using murmex::tool::wordCount;

TEST(WordCount, CountsRunsWithALetterOrDigit) {
    EXPECT_EQ(wordCount(""), 0);
    EXPECT_EQ(wordCount(nullptr), 0);
    EXPECT_EQ(wordCount("-"), 0);
    EXPECT_EQ(wordCount("  one  two\tthree\r\n"), 3);
    EXPECT_EQ(wordCount("fish && chips - 2"), 3);
    EXPECT_EQ(wordCount("caf\xE9 \xE9t\xE9"), 2);
}

TEST(Stats, CountsWhatTheScriptHolds) {
    ScratchFolder folder;
    const std::string path = folder.write("script.txt", playScript());
    const CommandRun run = runCommand(murmex::tool::runStats, {path, true});
    EXPECT_EQ(run.status, murmex::tool::EXIT_OK);
    EXPECT_EQ(run.out, path + ": Trial & Error\n"
                              "characters         2\n"
                              "talk units         10: 8 questions, 2 initial answers\n"
                              "words              12 in answers, 13 in questions\n"
                              "variables set      count\n"
                              "variables removed  count\n"
                              "variables tested   -\n"
                              "\n"
                              "character  units  questions  initial  states\n"
                              "Intro          7          6        1  0-2\n"
                              "Bob            3          2        1  0\n");
}

TEST(Stats, NamesUnitsNeverShownAndLeavesNegativeStatesOut) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "script.txt",
        murmex::testing::scriptWithHeader(
            {"\"Intro\" {", "  { S = \"0\" N = \"3\" Q = \"Go\" A = \"a\" ACT = \"ACT_NONE\" }",
             "  { S = \"3\" N = \"0\" Q = \"\" A = \"b\" ACT = \"ACT_NONE\"",
             "    { ID = \"x\" OP = \"not\" } }",
             // A negative state is no state of the character, even one a unit stands in.
             "  { S = \"-1\" N = \"-2\" Q = \"\" A = \"c\" ACT = \"ACT_NONE\" }", "}"}));
    const CommandRun run = runCommand(murmex::tool::runStats, {path, true});
    EXPECT_NE(run.out.find("talk units         3: 1 questions, 0 initial answers, 2 never shown "
                           "(no question, not in state 0)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("variables tested   x\n"), std::string::npos);
    EXPECT_NE(run.out.find("Intro          3          1        0  0 3\n"), std::string::npos);
}

TEST(Stats, AScriptThatDoesNotLoadFails) {
    ScratchFolder folder;
    const CommandRun run = runCommand(murmex::tool::runStats, {folder.path("missing.chr"), false});
    EXPECT_EQ(run.status, murmex::tool::EXIT_FAILED);
    EXPECT_EQ(run.err, folder.path("missing.chr") +
                           ":1: error -1: [cannot open file: No such file or directory]\n");
}

} // namespace
