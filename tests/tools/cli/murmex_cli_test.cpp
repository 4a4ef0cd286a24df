// The built murmex binary: exit statuses of its command line (help, usage
// errors, success, failure) and the demo it checks.
#include "tools/cli/tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::readBytes;
using murmex::testing::ScratchFolder;

CommandRun murmex(const ScratchFolder& folder, const std::string& arguments) {
    return murmex::testing::runTool(folder, arguments);
}

struct StatusCase {
    const char* label;
    const char* arguments;
    int status;
};

// Test names in CTest carry the label instead of the raw bytes.
void PrintTo(const StatusCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class CommandLine : public ::testing::TestWithParam<StatusCase> {};

TEST_P(CommandLine, ExitsWithStatus) {
    ScratchFolder folder;
    const CommandRun run = murmex(folder, GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status) << run.out << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(
        StatusCase{"ToolHelp", "--help", 0}, StatusCase{"NoCommand", "", 2},
        StatusCase{"UnknownCommand", "frobnicate x", 2},
        StatusCase{"GraphUnknownFormat", "graph --format svg x", 2},
        StatusCase{"ExploreZeroStates", "explore --max-states 0 x", 2},
        StatusCase{"ExploreNegativeMaxFailures", "explore --max-failures -1 x", 2},
        StatusCase{"ExploreHugeMaxFailures", "explore --max-failures 99999999999999999999 x", 2},
        StatusCase{"ExploreHugeMaxStates", "explore --max-states 99999999999999999999 x", 2},
        StatusCase{"LintMissingFile", "lint /nonexistent/x.chr", 1},
        StatusCase{"ExploreMissingFile", "explore /nonexistent/x.chr", 1},
        StatusCase{"ExploreBadGoal", "explore --goal 'lit = 1' x", 2},
        StatusCase{"ExploreGoalBeforeFile", "explore --goal 'lit == 1' /nonexistent/x.chr", 1},
        StatusCase{"CheckWithoutFile", "check", 2},
        StatusCase{"UnknownOption", "check --fast x", 2}, StatusCase{"DumpTwoFiles", "dump a b", 2},
        StatusCase{"ScrambleWithoutOut", "scramble in", 2},
        StatusCase{"CheckMissingFile", "check /nonexistent/x.chr", 1},
        StatusCase{"DumpMissingFile", "dump /nonexistent/x.chr", 1},
        StatusCase{"LspWithoutShutdown", "lsp </dev/null", 1},
        StatusCase{"PlayWithoutFile", "play", 2}, StatusCase{"TestWithoutPlan", "test x.chr", 2},
        StatusCase{"PlayMissingFile", "play /nonexistent/x.chr", 3},
        StatusCase{"TestMissingScript", "test /nonexistent/x.chr y.plan", 1},
        StatusCase{"TestUpdateWithCoverage", "test --update --coverage x.chr y.plan", 2},
        StatusCase{"TestMinCoverageAbove100", "test --min-coverage 101 x.chr y.plan", 2},
        StatusCase{"StatsMissingFile", "stats /nonexistent/x.chr", 1},
        StatusCase{"PreviewWithoutFile", "preview", 2},
        StatusCase{"PreviewChoiceBeyondFive", "preview --choose 1,6 x.chr", 2},
        StatusCase{"CheckStandardInputTwice", "check --plain - x - </dev/null", 2},
        StatusCase{"PlayStandardInputWithoutChoose", "play --plain - </dev/null", 2}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return info.param.label; });

// A number the option cannot take is refused, not read as another one, and
// the refusal names the bounds in a few digits.
TEST(CommandLine, NumberOutOfRangeIsAUsageError) {
    ScratchFolder folder;
    for (const std::string option : {"--max-states 0", "--max-states 99999999999999999999",
                                     "--max-states -1", "--max-depth 4294967296"}) {
        const CommandRun run = murmex(folder, "explore " + option + " x");
        EXPECT_EQ(run.status, 2) << option;
        const std::string name = option.substr(0, option.find(' '));
        const std::string number = option.substr(option.find(' ') + 1);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  name + ": " + number + " is not a whole number from 1 to 1000000000");
    }
}

// Output that cannot be written is a failure with its reason, whichever
// command wrote it; a command that writes nothing there loses nothing.
TEST(CommandLine, OutputThatCannotBeWrittenFails) {
    ScratchFolder folder;
    const std::string script = std::string("'") + MURMEX_DEMO_SCRIPT + "'";
    const std::string demo = " --plain " + script;
    const std::string plan = std::filesystem::path(MURMEX_DEMO_SCRIPT).parent_path() / "plans";
    const std::string scramble =
        "scramble --force " + script + " '" + folder.path("data.chr") + "'";
    const struct {
        std::string arguments;
        bool writes;
    } commands[] = {
        {"check" + demo, true},
        {"dump" + demo, true},
        {"graph" + demo, true},
        {"stats" + demo, true},
        {"explore" + demo, true},
        {"play" + demo + " --choose 1", true},
        {"test" + demo + " '" + plan + "/well.plan'", true},
        {"lint" + demo + " --json", true},
        {"--help", true},
        {scramble, false},
    };
    const struct {
        const char* redirection;
        const char* reason;
    } outputs[] = {{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}};
    for (const auto& command : commands) {
        for (const auto& output : outputs) {
            const CommandRun run =
                murmex::testing::runTool(folder, command.arguments, "", output.redirection);
            const std::string message =
                command.writes ? std::string("murmex: cannot write output: ") + output.reason + "\n"
                               : "";
            EXPECT_EQ(run.status, command.writes ? 1 : 0)
                << command.arguments << output.redirection;
            EXPECT_EQ(run.err, message) << command.arguments << output.redirection;
        }
    }
}

TEST(Demo, PlainScriptChecks) {
    ScratchFolder folder;
    const CommandRun run =
        murmex(folder, std::string("check --plain '") + MURMEX_DEMO_SCRIPT + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(": ok: 3 characters"), std::string::npos) << run.out;
}

TEST(Demo, BuiltDataChecksAndDumpsAsThePlainScript) {
    ScratchFolder folder;
    const CommandRun check = murmex(folder, std::string("check '") + MURMEX_DEMO_DATA + "'");
    EXPECT_EQ(check.status, 0) << check.err;
    const CommandRun fromData = murmex(folder, std::string("dump '") + MURMEX_DEMO_DATA + "'");
    const CommandRun fromScript =
        murmex(folder, std::string("dump --plain '") + MURMEX_DEMO_SCRIPT + "'");
    ASSERT_EQ(fromData.status, 0) << fromData.err;
    EXPECT_EQ(fromData.out, fromScript.out);
}

// Without --plain or --scrambled a file is read as its first line says;
// --scrambled reads as the player does by default.
TEST(Demo, EachFileIsReadAsItsFirstLineSays) {
    ScratchFolder folder;
    const std::string script = std::string(" '") + MURMEX_DEMO_SCRIPT + "'";
    const std::string data = std::string(" '") + MURMEX_DEMO_DATA + "'";
    const CommandRun plain = murmex(folder, "check" + script);
    EXPECT_NE(plain.out.find(": ok (plain): 3 characters"), std::string::npos) << plain.err;
    const CommandRun descrambled = murmex(folder, "check" + data);
    EXPECT_NE(descrambled.out.find(": ok (scrambled): 3 characters"), std::string::npos)
        << descrambled.err;
    const CommandRun fromData = murmex(folder, "dump" + data);
    const CommandRun fromScript = murmex(folder, "dump" + script);
    ASSERT_EQ(fromScript.status, 0) << fromScript.err;
    EXPECT_EQ(fromData.out, fromScript.out);
    const CommandRun asThePlayer = murmex(folder, "check --scrambled" + script);
    EXPECT_EQ(asThePlayer.status, 1);
    EXPECT_NE(asThePlayer.err.find("(looks plain: try --plain)"), std::string::npos)
        << asThePlayer.err;
    // Standard input is read once, and guessed from the bytes kept for the load.
    EXPECT_EQ(murmex(folder, "check - <" + script).out,
              "-: ok (plain): 3 characters, 35 talk units, 2671 bytes of text\n");
    EXPECT_EQ(murmex(folder, "dump - <" + data).out, fromScript.out);
    EXPECT_EQ(murmex(folder, "stats --plain --scrambled" + script).status, 2);
    EXPECT_EQ(murmex(folder, "check --plain" + data).status, 1);
}

TEST(Demo, ScrambleThenUnscrambleGivesTheScriptBack) {
    ScratchFolder folder;
    const std::string data = folder.path("data.chr");
    const std::string back = folder.path("back.txt");
    ASSERT_EQ(
        murmex(folder, std::string("scramble '") + MURMEX_DEMO_SCRIPT + "' '" + data + "'").status,
        0);
    ASSERT_EQ(murmex(folder, "unscramble '" + data + "' '" + back + "'").status, 0);
    EXPECT_EQ(readBytes(back), readBytes(MURMEX_DEMO_SCRIPT));
    // A second run must not overwrite what the first wrote.
    const CommandRun again = murmex(folder, "unscramble '" + data + "' '" + back + "'");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
}

TEST(Demo, PlaysAListOfChoicesAndQuitsAtTheEndOfTheInput) {
    ScratchFolder folder;
    const CommandRun listed =
        murmex(folder, std::string("play '") + MURMEX_DEMO_DATA + "' --choose 3,1 --trace");
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("> 3\n  * Intro: state 0 -> 1\n  * money 0 -> 1\n"),
              std::string::npos)
        << listed.out;
    // Input from a pipe is echoed, so the same game reads the same.
    const CommandRun piped =
        murmex(folder, std::string("play '") + MURMEX_DEMO_DATA + "' --trace < /dev/null");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, listed.out.substr(0, listed.out.find("> 3")) + "> \n");
}

TEST(Demo, AChoiceOutOfRangeInTheListFailsTheRecording) {
    ScratchFolder folder;
    const CommandRun run =
        murmex(folder, std::string("play '") + MURMEX_DEMO_DATA + "' --choose 4");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("There is no question 4: choose 1 to 3, b to go back, or q to quit."),
              std::string::npos)
        << run.out;
}

// The tool links no toolkit: a terminal without a desktop session (where Qt
// would complain about XDG_RUNTIME_DIR) gets nothing on standard error.
TEST(Demo, NoCommandPrintsToolkitMessages) {
    ScratchFolder folder;
    const std::string demo = std::string(" '") + MURMEX_DEMO_SCRIPT + "'";
    for (const std::string command :
         {"check --plain", "lint --plain", "explore --plain", "stats --plain", "graph --plain",
          "strings export --plain", "play --plain --choose 3,1 --trace"}) {
        const CommandRun run = murmex::testing::runTool(
            folder, command + demo, "env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY ");
        EXPECT_EQ(run.status, 0) << command << run.err;
        EXPECT_EQ(run.err, "") << command;
    }
}

TEST(Demo, ChecksFromStandardInputGivenAsADash) {
    // A pipe can't be read twice, as the loader reads: "-" reads it once.
    ScratchFolder folder;
    const std::string demo = std::string("'") + MURMEX_DEMO_SCRIPT + "'";
    const CommandRun dash = murmex::testing::runTool(folder, "check --plain - <" + demo);
    EXPECT_EQ(dash.status, 0) << dash.err;
    EXPECT_EQ(dash.out.rfind("-: ok: 3 characters", 0), 0u) << dash.out;
    const CommandRun piped =
        murmex::testing::runTool(folder, "check --plain /dev/stdin", "cat " + demo + " | ");
    EXPECT_EQ(piped.status, 1);
    EXPECT_NE(piped.err.find("give - to read standard input"), std::string::npos) << piped.err;
}

// Standard input is read once and serves every use of "-" in the run: each
// plan plays the same script.
TEST(Demo, TestsEveryPlanOnTheScriptFromStandardInput) {
    ScratchFolder folder;
    const std::filesystem::path plans =
        std::filesystem::path(MURMEX_DEMO_SCRIPT).parent_path() / "plans";
    std::string arguments = "test --plain -";
    int count = 0;
    for (const auto& plan : std::filesystem::directory_iterator(plans)) {
        arguments += " '" + plan.path().string() + "'";
        ++count;
    }
    const CommandRun run =
        murmex::testing::runTool(folder, arguments + " <'" + std::string(MURMEX_DEMO_SCRIPT) + "'");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find(std::to_string(count) + " passed, 0 failed"), std::string::npos)
        << run.out;
}

// The file a script comes from on standard input is an input like a named
// script: no command writes its output over it, not even with --force.
TEST(Demo, OutputsNeverWriteOverTheFileStandardInputReads) {
    ScratchFolder folder;
    const std::string demo = readBytes(MURMEX_DEMO_SCRIPT);
    const std::string po = folder.write("de.po", "");
    for (const std::string& command : std::vector<std::string>{
             "strings export --plain - -o", "strings import --plain - '" + po + "' -o",
             "play --plain - --choose 3,1 --force --record", "play --plain - --choose 3 --save",
             "publish --plain - -o"}) {
        const std::string script = folder.write("s.chr.txt", demo);
        const CommandRun run =
            murmex::testing::runTool(folder, command + " '" + script + "' <'" + script + "'");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("the file standard input reads"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(script), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(script), demo) << command;
    }
}

// publish embeds the bytes it checked on standard input, not a file named "-".
TEST(Demo, PublishEmbedsTheScriptReadFromStandardInput) {
    ScratchFolder folder;
    // The tool looks for its web build beside itself: a stand-in beside a link.
    const std::string web = "share/murmex/web/";
    std::filesystem::create_directories(folder.path(web));
    std::filesystem::create_directory(folder.path("bin"));
    std::error_code linked;
    std::filesystem::create_hard_link(MURMEX_TOOL, folder.path("bin/murmex"), linked);
    if (linked) {
        std::filesystem::copy_file(MURMEX_TOOL, folder.path("bin/murmex"));
    }
    for (const char* part : {"page.css", "murmex.js", "page.js", "murmex.wasm"}) {
        folder.write(web + part, "");
    }
    folder.write(web + "page.html", "@SCRIPT@");
    folder.write("-", "decoy");
    folder.write("in", "Man");
    const std::string command = "cd '" + folder.path(".") +
                                "' && bin/murmex publish --plain --allow-broken - -o page.html "
                                "<in 2>stderr";
    EXPECT_EQ(std::system(command.c_str()), 0) << readBytes(folder.path("stderr"));
    EXPECT_EQ(readBytes(folder.path("page.html")), "TWFu");
}

// The language server on the tool's own standard input: shutdown, then exit.
TEST(LanguageServerCommand, EndsWithZeroAfterShutdown) {
    ScratchFolder folder;
    std::string input;
    for (const std::string body : {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"initialize\"}",
                                   "{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"shutdown\"}",
                                   "{\"jsonrpc\":\"2.0\",\"method\":\"exit\"}"}) {
        input += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    }
    const std::string in = folder.write("in", input);
    const CommandRun run = murmex(folder, "lsp <'" + in + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"id\":2,\"jsonrpc\":\"2.0\",\"result\":null"), std::string::npos)
        << run.out;
}

} // namespace
