// murmex check: the summary line of a loaded script, the error line of a
// failed one (with the bracketed texts where the loader gives none) and the
// script's lines around it, the JSON report, and the exit status over several
// files.
#include "tools/cli/check_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include <ostream>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::runCommand;
using murmex::testing::scrambled;
using murmex::testing::ScratchFolder;
using murmex::testing::scriptWithHeader;
using murmex::testing::smallScript;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;

CommandRun check(const std::vector<std::string>& files, bool plain, bool json = false) {
    return runCommand(murmex::tool::runCheck, {files, plain, json});
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n') + 1);
}

TEST(Check, SummarisesALoadedScript) {
    ScratchFolder folder;
    const std::string path = folder.write("small.txt", smallScript());
    const CommandRun run = check({path}, true);
    EXPECT_EQ(run.status, EXIT_OK);
    // Pool: "Intro", "" and "Hello.", "Bye." twice, each with its zero.
    EXPECT_EQ(run.out, path + ": ok: 1 characters, 2 talk units, 24 bytes of text\n");
    EXPECT_EQ(run.err, "");
}

TEST(Check, ReadsScrambledFilesByDefault) {
    ScratchFolder folder;
    const std::string path = folder.write("data.chr", scrambled(smallScript()));
    const CommandRun run = check({path}, false);
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_EQ(run.out, path + ": ok: 1 characters, 2 talk units, 24 bytes of text\n");
}

// A failing file: its content, how it is read, and the text after
// "FILE:LINE: error CODE: ".
struct FailureCase {
    const char* label;
    std::string content;
    bool plain;
    int line;
    int code;
    std::string text;
};

// Test names in CTest carry the label instead of the raw bytes.
void PrintTo(const FailureCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class CheckFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CheckFailure, ReportsTheErrorLine) {
    const FailureCase& failure = GetParam();
    ScratchFolder folder;
    const std::string path = folder.write("script.txt", failure.content);
    const CommandRun run = check({path}, failure.plain);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(firstLine(run.err), path + ":" + std::to_string(failure.line) + ": error " +
                                      std::to_string(failure.code) + ": " + failure.text + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckFailure,
    ::testing::Values(
        FailureCase{"ScrambledReadPlain", scrambled(smallScript()), true, 1, -2,
                    "[first line is not MurmexSrcFile] (looks scrambled: drop --plain)"},
        FailureCase{"PlainReadScrambled", smallScript(), false, 1, -2,
                    "[first line is not MurmexSrcFile] (looks plain: try --plain)"},
        FailureCase{"NeitherWay", "Hello\r\n", true, 1, -2, "[first line is not MurmexSrcFile]"},
        FailureCase{"LineFeedOnlyMagic", "MurmexSrcFile\nTITLE = \"T\"\n", true, 2, -2,
                    "[first line is not MurmexSrcFile]"},
        FailureCase{"EngineMessage",
                    scriptWithHeader(
                        {"\"Intro\" {",
                         "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\" }", "}"}),
                    true, 6, -3, "Syntax error: unknown action."},
        FailureCase{"EndOfFileInHeader", "MurmexSrcFile\r\nTITLE = ", true, 2, -3,
                    "[unexpected end of file]"},
        // 1499 characters are one too many for the reader's limit of 1500,
        // yet the loader leaves no message.
        FailureCase{"ValueOfReaderLimit",
                    scriptWithHeader({"\"Intro\" {",
                                      "  { S = \"0\" N = \"0\" Q = \"" + std::string(1499, 'q') +
                                          "\" A = \"Hi\" ACT = \"ACT_NONE\" }",
                                      "}"}),
                    true, 6, -3, "[value too long]"},
        FailureCase{"ValueOfReaderLimitEndingTheFile",
                    scriptWithHeader({"\"Intro\" {", "  { S = \"0\" N = \"0\" Q = \"" +
                                                         std::string(1499, 'q') + "\""}),
                    true, 6, -3, "[value too long]"},
        FailureCase{"NameOfNinetyNine",
                    scriptWithHeader({"\"" + std::string(99, 'n') + "\" {", "}"}), true, 5, -5,
                    "[character name too long]"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.label; });

TEST(Check, ReportsAFileThatCannotBeOpened) {
    ScratchFolder folder;
    const CommandRun run = check({folder.path("missing.chr")}, false);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.err, folder.path("missing.chr") +
                           ":1: error -1: [cannot open file: No such file or directory]\n");
}

// A name that leads to no regular file is refused at once, with the reason:
// a folder or a failed read would pass for an empty script, a FIFO without a
// writer would wait for ever, a device would never end.
TEST(Check, RefusesWhatIsNoRegularFileAndFailsOnAReadError) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFO, /dev/zero or /proc";
#else
    ScratchFolder folder;
    const std::string fifo = folder.path("pipe.chr");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder.path(""), "[cannot open file: it is a folder]"},
        {fifo, "[cannot open file: it is a FIFO or pipe, not a regular file (give - to read "
               "standard input)]"},
        {"/dev/zero", "[cannot open file: it is a device, not a regular file]"},
        {"/proc/self/mem", "[cannot read file: Input/output error]"},
    };
    for (const auto& [path, text] : cases) {
        const CommandRun run = check({path}, true);
        EXPECT_EQ(run.status, EXIT_FAILED);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, path + ":1: error -1: " + text + "\n");
    }
#endif
}

TEST(Check, ReportsEveryFileAndFailsWhenAnyFails) {
    ScratchFolder folder;
    const std::string good = folder.write("good.txt", smallScript());
    const std::string bad = folder.path("missing.txt");
    const CommandRun run = check({good, bad, good}, true);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.out, good + ": ok: 1 characters, 2 talk units, 24 bytes of text\n" + good +
                           ": ok: 1 characters, 2 talk units, 24 bytes of text\n");
    EXPECT_EQ(run.err, bad + ":1: error -1: [cannot open file: No such file or directory]\n");
}

const std::string UNKNOWN_ACTION = scriptWithHeader(
    {"\"Intro\" {", "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\" }", "}"});

TEST(Check, CutsLongLinesInTheContext) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "long.txt", scriptWithHeader({"\"Intro\" {", "  { S = \"0\" " + std::string(100000, 'x')}));
    const CommandRun run = check({path}, true);
    EXPECT_LT(run.err.size(), 1000u);
    EXPECT_NE(run.err.find("xxxx [...]\n"), std::string::npos) << run.err;
}

TEST(Check, ShowsTheLinesAroundTheError) {
    ScratchFolder folder;
    const std::string path = folder.write("script.txt", UNKNOWN_ACTION);
    const CommandRun run = check({path}, true);
    // The empty rest after the last line feed is left out.
    EXPECT_EQ(run.err,
              path + ":6: error -3: Syntax error: unknown action.\n"
                     "  4 | TEXTCOLOR = \"4\", \"5\", \"6\"\n"
                     "  5 | \"Intro\" {\n"
                     "> 6 |   { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\" }\n"
                     "  7 | }\n");
}

TEST(Check, ShowsTheLinesOfAScrambledFileDescrambled) {
    ScratchFolder folder;
    const std::string path = folder.write("data.chr", scrambled(UNKNOWN_ACTION));
    const CommandRun run = check({path}, false);
    EXPECT_NE(
        run.err.find("> 6 |   { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\" }\n"),
        std::string::npos)
        << run.err;
}

// Read the wrong way round, the lines would be noise; the error line says what to do.
TEST(Check, ShowsNoLinesOfAFileReadTheWrongWayRound) {
    ScratchFolder folder;
    const std::string path = folder.write("data.chr", scrambled(smallScript()));
    const CommandRun run = check({path}, true);
    EXPECT_EQ(run.err, path + ":1: error -2: [first line is not MurmexSrcFile] (looks scrambled: "
                              "drop --plain)\n");
}

TEST(Check, ReportsEveryFileAsJson) {
    ScratchFolder folder;
    const std::string good = folder.write("good.txt", smallScript());
    const std::string bad = folder.write("bad.txt", UNKNOWN_ACTION);
    const std::string silent = folder.path("missing.txt");
    const CommandRun run = check({good, bad, silent}, true, true);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.err, "");
    const nlohmann::json report = nlohmann::json::parse(run.out);
    const nlohmann::json expected = {
        {{"file", good},
         {"ok", true},
         {"code", 1},
         {"line", nullptr},
         {"message", ""},
         {"description", "1 characters, 2 talk units, 24 bytes of text"}},
        {{"file", bad},
         {"ok", false},
         {"code", -3},
         {"line", 6},
         {"message", "Syntax error: unknown action."},
         {"description", "Syntax error: unknown action."}},
        // Where the loader sets no message, the description still says what happened.
        {{"file", silent},
         {"ok", false},
         {"code", -1},
         {"line", 1},
         {"message", ""},
         {"description", "[cannot open file: No such file or directory]"}},
    };
    EXPECT_EQ(report, expected);
}

TEST(Check, JsonSurvivesAFileNameThatIsNotUtf8) {
    ScratchFolder folder;
    const CommandRun run = check({folder.path("caf\xE9.chr")}, true, true);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(nlohmann::json::parse(run.out).size(), 1u);
}

} // namespace
