// murmex stats: the figures of a small script and the word count's rule.
#include "tools/cli/stats_command.h"

#include "support/play_test_script.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using murmex::testing::playScript;
using murmex::testing::ScratchFolder;
using murmex::tool::StatsOptions;
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
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(murmex::tool::runStats(StatsOptions{path, true}, out, err), murmex::tool::EXIT_OK);
    EXPECT_EQ(out.str(), path + ": Trial & Error\n"
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

TEST(Stats, NamesTheUnitsThatAreNeverShown) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "script.txt", murmex::testing::scriptText(
                          {"MurmexSrcFile", "TITLE = \"T\"", "COLOR = \"1\", \"2\", \"3\"",
                           "TEXTCOLOR = \"4\", \"5\", \"6\"", "\"Intro\" {",
                           "  { S = \"0\" N = \"3\" Q = \"Go\" A = \"a\" ACT = \"ACT_NONE\" }",
                           "  { S = \"3\" N = \"0\" Q = \"\" A = \"b\" ACT = \"ACT_NONE\"",
                           "    { ID = \"x\" OP = \"not\" } }",
                           "}"}));
    std::ostringstream out;
    std::ostringstream err;
    murmex::tool::runStats(StatsOptions{path, true}, out, err);
    EXPECT_NE(out.str().find("talk units         2: 1 questions, 0 initial answers, 1 never shown "
                             "(no question, not in state 0)\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("variables tested   x\n"), std::string::npos);
    EXPECT_NE(out.str().find("Intro          2          1        0  0 3\n"), std::string::npos);
}

TEST(Stats, AScriptThatDoesNotLoadFails) {
    ScratchFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(murmex::tool::runStats(StatsOptions{folder.path("missing.chr"), false}, out, err),
              murmex::tool::EXIT_FAILED);
    EXPECT_EQ(err.str(), folder.path("missing.chr") + ":1: error -1: [cannot open file]\n");
}

} // namespace
