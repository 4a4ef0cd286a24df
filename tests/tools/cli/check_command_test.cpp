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

// The ok line of smallScript() up to the file lint is asked to read. Its
// dark default colours and its goodbye's answer give three warnings.
const std::string SMALL_OK =
    ": ok: 1 characters, 2 talk units, 24 bytes of text; 3 lint warnings: run murmex lint ";

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n') + 1);
}

TEST(Check, SummarisesALoadedScript) {
    ScratchFolder folder;
    const std::string path = folder.write("small.txt", smallScript());
    const CommandRun run = check({path}, true);
    EXPECT_EQ(run.status, EXIT_OK);
    // Pool: "Intro", "" and "Hello.", "Bye." twice, each with its zero.
    EXPECT_EQ(run.out, path + SMALL_OK + "--plain " + path + "\n");
    EXPECT_EQ(run.err, "");
}

TEST(Check, ReadsScrambledFilesByDefault) {
    ScratchFolder folder;
    const std::string path = folder.write("data.chr", scrambled(smallScript()));
    const CommandRun run = check({path}, false);
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_EQ(run.out, path + SMALL_OK + path + "\n");
}

// A hand-over to a misspelled name loads; check says ok and points at lint.
TEST(Check, CountsLintWarningsWithoutFailing) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "s.txt",
        scriptWithHeader({"\"Intro\" {",
                          "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }",
                          "  { S = \"0\" N = \"0\" Q = \"Go.\" A = \"-\" ACT = \"ACT_COMM\" "
                          "PARAM = \"Smiht\" }",
                          "}"},
                         murmex::testing::readableHeader()));
    const CommandRun run = check({path}, true);
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_EQ(run.out, path +
                           ": ok: 1 characters, 2 talk units, 23 bytes of text; 1 lint "
                           "warning: run murmex lint --plain " +
                           path + "\n");
    EXPECT_EQ(nlohmann::json::parse(check({path}, true, true).out)[0]["lintWarnings"], 1);
}

// A script the player cannot start loads, but the ok line says why it would stop.
TEST(Check, SaysWhenThePlayerCannotStartTheScript) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "s.txt",
        scriptWithHeader(
            {"\"intro\" {", "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }",
             "  { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"Bye.\" ACT = \"ACT_NONE\" }", "}"},
            murmex::testing::readableHeader()));
    const CommandRun run = check({path}, true);
    EXPECT_EQ(run.status, EXIT_OK);
    EXPECT_NE(run.out.find("; but the player starts \"Intro\", and names are compared exactly: "
                           "\"intro\" differs in letter case"),
              std::string::npos)
        << run.out;
}

// A failing file: its content, how it is read, and the text after
// "PATH:LINE: error CODE: ".
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
    EXPECT_EQ(run.out, good + SMALL_OK + "--plain " + good + "\n" + good + SMALL_OK + "--plain " +
                           good + "\n");
    EXPECT_EQ(run.err, bad + ":1: error -1: [cannot open file: No such file or directory]\n");
}

const std::string UNKNOWN_ACTION = scriptWithHeader(
    {"\"Intro\" {", "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\" }", "}"});

const std::string UNKNOWN_ACTION_NOTE =
    "\"ACT_JUMP\" is not an action (the actions: ACT_NONE, ACT_COMM, ACT_ADD_MEM, ACT_SUB_MEM, "
    "ACT_ADD_INV, ACT_SUB_INV, ACT_ADD_MONEY, ACT_SUB_MONEY)";

// The report of a broken script without the lines shown around each error.
std::string withoutContext(const std::string& report) {
    std::string kept;
    size_t start = 0;
    while (start < report.size()) {
        const size_t end = report.find('\n', start) + 1;
        const std::string line = report.substr(start, end - start);
        if (line.find(" | ") == std::string::npos) {
            kept += line;
        }
        start = end;
    }
    return kept;
}

// The author's usual mistakes: each is reported once, at the loader's line,
// with the mistake named, and independent mistakes each once.
struct DiagnosisCase {
    const char* label;
    std::string content;
    bool plain;
    // The report, PATH standing for the file's path.
    std::string report;
};

void PrintTo(const DiagnosisCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class CheckDiagnosis : public ::testing::TestWithParam<DiagnosisCase> {};

TEST_P(CheckDiagnosis, NamesEachMistakeOnce) {
    const DiagnosisCase& diagnosis = GetParam();
    ScratchFolder folder;
    const std::string path = folder.write("f", diagnosis.content);
    std::string expected = diagnosis.report;
    for (size_t at = expected.find("PATH"); at != std::string::npos;
         at = expected.find("PATH", at + path.size())) {
        expected.replace(at, 4, path);
    }
    const CommandRun run = check({path}, diagnosis.plain);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(withoutContext(run.err), expected) << run.err;
}

std::string unit(const std::string& fields) {
    return "  { S = \"0\" N = \"0\" " + fields + " }";
}

const std::string GOOD_UNIT = unit("Q = \"Go\" A = \"Bye\" ACT = \"ACT_NONE\"");

const std::string LINE_FEED_SCRIPT =
    "MurmexSrcFile\n# a\n# b\n# c\n# d\nTITLE = \"T\"\n"
    "COLOR = \"1\", \"2\", \"3\"\nTEXTCOLOR = \"4\", \"5\", \"6\"\n"
    "\"Intro\" {\n" +
    unit("Q = \"\" A = \"Hi\" ACT = \"ACT_NONE\"") + "\n}\n";
const std::string LINE_FEED_REPORT =
    "PATH:6: error -2: [first line is not MurmexSrcFile]\n"
    "PATH:1: note: line 1 must end with a carriage return, and this file ends its lines with a "
    "line feed alone: save it with CR LF line ends, or convert it while scrambling with murmex "
    "scramble --crlf FILE data.chr\n";

const std::string CURLY_QUOTES_REPORT =
    "PATH:6: error -3: Syntax error: unknown action.\n"
    "PATH:6: note: curly quotes stand where a value's straight double quote \" belongs (line 6): "
    "the loader looks for straight quotes only\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckDiagnosis,
    ::testing::Values(
        DiagnosisCase{
            "MissingClosingQuote",
            scriptWithHeader({"\"Intro\" {", unit("Q = \"Ask A = \"Old.\" ACT = \"ACT_NONE\""),
                              GOOD_UNIT, "}"}),
            true,
            "PATH:6: error -3: Syntax error: A expected\n"
            "PATH:6: note: the text opened on line 6 is not closed: it runs on into "
            "\"A =\" and ends at that field's opening quote; add the closing \" before "
            "A\n"},
        DiagnosisCase{"MissingClosingBrace",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = "
                                        "\"ACT_NONE\"",
                                        GOOD_UNIT, GOOD_UNIT, "}"}),
                      true,
                      "PATH:7: error -3: Syntax error: ID expected\n"
                      "PATH:7: note: this { was read as the start of a condition, because the "
                      "talk unit before it is not closed: add the } that ends that unit\n"},
        DiagnosisCase{"MisspelledAction",
                      scriptWithHeader({"\"Intro\" {",
                                        unit("Q = \"\" A = \"Hi\" ACT = \"ACT_ADD_MEN\" PARAM = "
                                             "\"x\" VAL = \"1\""),
                                        GOOD_UNIT, "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: unknown action.\n"
                      "PATH:6: note: \"ACT_ADD_MEN\" is not an action; did you mean ACT_ADD_MEM? "
                      "(the actions: ACT_NONE, ACT_COMM, ACT_ADD_MEM, ACT_SUB_MEM, ACT_ADD_INV, "
                      "ACT_SUB_INV, ACT_ADD_MONEY, ACT_SUB_MONEY)\n"},
        DiagnosisCase{"CurlyQuotesAsDelimiters",
                      scriptWithHeader({"\"Intro\" {",
                                        unit("Q = \xE2\x80\x9C\x41sk\xE2\x80\x9D A = \"Old.\" "
                                             "ACT = \"ACT_NONE\""),
                                        "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: ACT expected\n"
                      "PATH:6: note: curly quotes stand where a value's straight double quote \" "
                      "belongs (line 6): the loader looks for straight quotes only\n"},
        // The question takes the answer's value, the answer the action's, and
        // the action PARAM's: the fault is the curly quotes, not the action.
        DiagnosisCase{"CurlyQuotesAroundAQuestion",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { S = \"0\" N = \"1\" Q = \xE2\x80\x9CWipe it "
                                        "dry.\xE2\x80\x9D A = \"No.\" ACT = \"ACT_COMM\" PARAM = "
                                        "\"ditch\" }",
                                        "}"}),
                      true, CURLY_QUOTES_REPORT},
        DiagnosisCase{"Windows1252CurlyQuotesAroundAQuestion",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { S = \"0\" N = \"1\" Q = \x93Wipe it dry.\x94 A = "
                                        "\"No.\" ACT = \"ACT_COMM\" PARAM = \"ditch\" }",
                                        "}"}),
                      true, CURLY_QUOTES_REPORT},
        // S takes the question's value and N is sought past it.
        DiagnosisCase{"NumbersWithoutQuotes",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { S = 0 N = 1 Q = \"Hi\" A = \"Hello\" ACT = "
                                        "\"ACT_NONE\" }",
                                        "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: N expected\n"
                      "PATH:6: note: the value of S must be in straight double quotes: S = "
                      "\"0\"\n"},
        DiagnosisCase{
            "EndOfFileInACondition",
            scriptWithHeader({"\"Intro\" {", "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = "
                                             "\"ACT_NONE\" { ID = \"v\" OP = \"not\""}),
            true,
            "PATH:7: error -3: Syntax error: } expected\n"
            "PATH:7: note: the file ends inside a condition: the } that closes it is "
            "missing\n"
            "> 7 |\n"},
        DiagnosisCase{"QuoteInsideAText",
                      scriptWithHeader({"\"Intro\" {",
                                        unit("Q = \"\" A = \"He said \"hi\" to me.\" ACT = "
                                             "\"ACT_NONE\""),
                                        "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: ACT expected\n"
                      "PATH:6: note: a \" inside a text ends the text there, so \"hi\" was left "
                      "over: texts cannot hold a \"; write ' or curly quotes inside the text "
                      "instead\n"},
        DiagnosisCase{"FieldOutOfOrder",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { N = \"0\" S = \"0\" Q = \"\" A = \"Hi\" ACT = "
                                        "\"ACT_NONE\" }",
                                        "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: S expected\n"
                      "PATH:6: note: the field here is N where S was expected: a talk unit's "
                      "fields come in the order S, N, Q, A, ACT, then PARAM and VAL where the "
                      "action takes them; a condition's in the order ID, OP, VAL\n"},
        // Only the first line needs its carriage return; the rest is read on.
        // Looking for it, the loader counts the comments' line feeds and
        // reports line 6; the note stands on line 1, read either way.
        DiagnosisCase{"LineFeedLineEnds", LINE_FEED_SCRIPT, true, LINE_FEED_REPORT},
        DiagnosisCase{"LineFeedLineEndsScrambled", scrambled(LINE_FEED_SCRIPT), false,
                      LINE_FEED_REPORT},
        // The other reading finds the magic, line feed and all: no noise is shown.
        DiagnosisCase{"PlainWithLineFeedsReadScrambled", "MurmexSrcFile\nTITLE = \"T\"\n", false,
                      "PATH:1: error -2: [first line is not MurmexSrcFile] (looks plain: try "
                      "--plain)\n"},
        DiagnosisCase{"ByteOrderMark",
                      "\xEF\xBB\xBF" + scriptWithHeader({"\"Intro\" {", GOOD_UNIT, "}"}), true,
                      "PATH:1: error -2: [first line is not MurmexSrcFile]\n"
                      "PATH:1: note: the file starts with a byte-order mark (the bytes EF BB BF) "
                      "before MurmexSrcFile, which some editors write first: save it as UTF-8 "
                      "without a byte-order mark (often named \"UTF-8\" beside \"UTF-8 with "
                      "BOM\")\n"},
        DiagnosisCase{"LowerCaseKeyword",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { s = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = "
                                        "\"ACT_NONE\" }",
                                        "}"}),
                      true,
                      "PATH:6: error -3: Syntax error: S expected\n"
                      "PATH:6: note: the field here is s, in lower case: the loader reads a "
                      "field's keyword in capitals only, so write S\n"},
        DiagnosisCase{"UnitOutsideABlock",
                      scriptWithHeader({"\"Intro\" {", GOOD_UNIT, "}", GOOD_UNIT}), true,
                      "PATH:8: error -3: Syntax error: { unexpected\n"
                      "PATH:8: note: this talk unit stands outside every character block: the "
                      "block before it ends with the } on line 7; move the unit above that }, or "
                      "open a block for it with a name in quotes and {\n"},
        DiagnosisCase{"BlockLeftOpen",
                      scriptWithHeader({"\"Intro\" {", GOOD_UNIT, "}", "\"Mara\" {", GOOD_UNIT,
                                        "\"Brom\" {", GOOD_UNIT, "}"}),
                      true,
                      "PATH:11: error -3: Syntax error: S expected\n"
                      "PATH:11: note: the character block \"Mara\" opened on line 8 is not "
                      "closed: add the } that ends it before \"Brom\" on line 10\n"},
        DiagnosisCase{"CurlyQuotesOnTheLineBeforeTheStop",
                      scriptWithHeader({"\"Intro\" {",
                                        "  { S = \"0\" N = \"0\" Q = \"\" A = \xE2\x80\x9cHi."
                                        "\xE2\x80\x9d",
                                        "    ACT = \"ACT_NONE\" }", "}"}),
                      true,
                      "PATH:7: error -3: Syntax error: ACT expected\n"
                      "PATH:7: note: curly quotes stand where a value's straight double quote \" "
                      "belongs (line 6, before the loader stopped on line 7): the loader looks "
                      "for straight quotes only\n"},
        // A load reports a unit's syntax before its numbers.
        DiagnosisCase{
            "SyntaxErrorBehindABadNumber",
            scriptWithHeader({"\"Intro\" {", unit("Q = \"\" A = \"Hi\" ACT = \"ACT_JUMP\""),
                              "  { S = \"x\" N = \"0\" Q = \"Go\" A = \"Bye\" ACT = "
                              "\"ACT_JUMP\" }",
                              "}"}),
            true,
            "PATH:6: error -3: Syntax error: unknown action.\nPATH:6: note: " +
                UNKNOWN_ACTION_NOTE +
                "\nPATH:7: error -3: Syntax error: unknown action. (further error)\n"
                "PATH:7: note: " +
                UNKNOWN_ACTION_NOTE + "\nPATH: 2 errors; the player stops at the first\n"},
        DiagnosisCase{
            "ThreeIndependentMistakes",
            scriptWithHeader({"\"Intro\" {", unit("Q = \"\" A = \"Hi\" ACT = \"ACT_NONE\""),
                              unit("Q = \"Go\" A = \"Bye\" ACT = \"ACT_JUMP\""), GOOD_UNIT, "}",
                              "\"Mara\" {", unit("Q = \"\" A = \"Hi\" ACT = \"ACT_NONE\""),
                              "  { S = \"x\" N = \"0\" Q = \"Go\" A = \"Bye\" ACT = \"ACT_NONE\" }",
                              "}", "\"Brom\" {",
                              unit("Q = \"Go\" A = \"Bye\" ACT = \"ACT_NONE\" { ID = \"v\" OP = "
                                   "\"=>\" VAL = \"1\" }"),
                              "}"}),
            true,
            "PATH:7: error -3: Syntax error: unknown action.\n"
            "PATH:7: note: " +
                UNKNOWN_ACTION_NOTE +
                "\n"
                "PATH:12: error -3: Syntax error: Wrong number (further error)\n"
                "PATH:12: note: \"x\" is not a whole number\n"
                "PATH:15: error -3: Syntax error: wrong operator (further error)\n"
                "PATH:15: note: \"=>\" is not an operator; did you mean ==? (the "
                "operators: ==, !=, <, >, not)\n"
                "PATH: 3 errors; the player stops at the first\n"}),
    [](const ::testing::TestParamInfo<DiagnosisCase>& info) { return info.param.label; });

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
              path + ":6: error -3: Syntax error: unknown action.\n" + path +
                  ":6: note: " + UNKNOWN_ACTION_NOTE +
                  "\n"
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
         {"plain", true},
         {"ok", true},
         {"code", 1},
         {"line", nullptr},
         {"message", ""},
         {"description", "1 characters, 2 talk units, 24 bytes of text"},
         {"lintWarnings", 3}},
        {{"file", bad},
         {"plain", true},
         {"ok", false},
         {"code", -3},
         {"line", 6},
         {"message", "Syntax error: unknown action."},
         {"description", "Syntax error: unknown action."},
         {"lintWarnings", nullptr},
         {"errors",
          {{{"line", 6},
            {"code", -3},
            {"message", "Syntax error: unknown action."},
            {"explanation", UNKNOWN_ACTION_NOTE},
            {"further", false}}}}},
        // Where the loader sets no message, the description still says what happened.
        {{"file", silent},
         {"plain", true},
         {"ok", false},
         {"code", -1},
         {"line", 1},
         {"message", ""},
         {"description", "[cannot open file: No such file or directory]"},
         {"lintWarnings", nullptr},
         {"errors",
          {{{"line", 1},
            {"code", -1},
            {"message", "[cannot open file: No such file or directory]"},
            {"explanation", ""},
            {"further", false}}}}},
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
