// Script texts on the terminal: control characters written out visibly by
// terminalText, and no command that shows script texts sending them raw.
#include "tools/analysis/terminal_text.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/lint_command.h"
#include "tools/cli/play_command.h"
#include "tools/cli/stats_command.h"
#include "tools/cli/test_command.h"

#include "support/command_run.h"
#include "support/scratch_folder.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using murmex::tool::terminalText;

TEST(TerminalText, WritesControlCharactersVisibly) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"plain text, caf\xC3\xA9", "plain text, caf\xC3\xA9"},
        {"tab\tstays", "tab\tstays"},
        {"\x1b[2Jclear", "\\x1b[2Jclear"},
        {"over\rwrite\n", "over\\x0dwrite\\x0a"},
        {std::string("bell\x07zero\0end", 13), "bell\\x07zero\\x00end"},
        {"del\x7f", "del\\x7f"},
        // U+009B, a control sequence introducer to some terminals; U+00A0 is not.
        {"csi\xC2\x9B"
         "2J nbsp\xC2\xA0",
         "csi\\x9b2J nbsp\xC2\xA0"},
        {"cut \xC2", "cut \xC2"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(terminalText(testCase.text), testCase.shown);
    }
}

// Every command that shows script texts on the terminal, on a script whose
// title, names, texts and variables hold control characters.
TEST(TerminalOutput, NoCommandSendsControlCharactersRaw) {
    ScratchFolder folder;
    // clang-format off
    const std::string script = folder.write("script.txt", murmex::testing::scriptWithHeader({
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello\x1b[2J\r\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"Set\r\" A = \"-\" ACT = \"ACT_ADD_MEM\" PARAM = \"v\x1b\" VAL = \"1\" }",
        "  { S = \"0\" N = \"1\" Q = \"Stop\x7f\" A = \"-\" ACT = \"ACT_NONE\" { ID = \"w\x07\" OP = \"not\" } }",
        "}",
        "\"B\x1bob\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }",
        "}",
    }, {.title = "T\x1b]0;x\x07"}));
    // clang-format on
    const std::string plan = folder.write("a.plan", "expect answer \"Hello\"\n");
    murmex::tool::ExploreOptions explore;
    explore.file = script;
    explore.plain = true;
    murmex::tool::PlayOptions play;
    play.file = script;
    play.plain = true;
    play.scripted = true;
    play.trace = true;
    play.choices = {"1", "\x1b", "2"};
    std::istringstream noInput;
    const struct {
        const char* command;
        std::function<int(std::ostream&, std::ostream&)> run;
    } commands[] = {
        {"play", [&](std::ostream& out,
                     std::ostream& err) { return murmex::tool::runPlay(play, noInput, out, err); }},
        {"test",
         [&](std::ostream& out, std::ostream& err) {
             return murmex::tool::runTest({script, {plan}, true}, out, err);
         }},
        {"lint",
         [&](std::ostream& out, std::ostream& err) {
             return murmex::tool::runLint({script, true, false}, out, err);
         }},
        {"explore", [&](std::ostream& out,
                        std::ostream& err) { return murmex::tool::runExplore(explore, out, err); }},
        {"stats",
         [&](std::ostream& out, std::ostream& err) {
             return murmex::tool::runStats({script, true}, out, err);
         }},
    };
    for (const auto& command : commands) {
        const CommandRun run = runCommand(command.run);
        const std::string shown = run.out + run.err;
        EXPECT_EQ(shown.find_first_of(std::string("\x00\x07\x1b\r\x7f", 5)), std::string::npos)
            << command.command << ":\n"
            << shown;
        EXPECT_NE(shown.find("\\x"), std::string::npos) << command.command << ":\n" << shown;
    }
}

} // namespace
