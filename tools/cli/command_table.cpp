// The table of the murmex tool's commands. A new command joins by its row.
#include "tools/cli/command_table.h"

#include "tools/cli/check_command.h"
#include "tools/cli/compat_command.h"
#include "tools/cli/dump_command.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/graph_command.h"
#include "tools/cli/lint_command.h"
#include "tools/cli/lsp_command.h"
#include "tools/cli/new_command.h"
#include "tools/cli/play_command.h"
#include "tools/cli/preview_command.h"
#include "tools/cli/publish_command.h"
#include "tools/cli/scramble_command.h"
#include "tools/cli/stats_command.h"
#include "tools/cli/strings_command.h"
#include "tools/cli/test_command.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

namespace murmex::tool {

namespace {

// Commands that take ScriptUse::None read their files themselves: check and
// compat several scripts, publish one that may be broken, strings a script
// and its translation, scramble raw bytes.
constexpr CommandRow COMMANDS[] = {
    {.name = "check",
     .summary = "Load scripts exactly as the player does and report each one",
     .script = ScriptUse::None,
     .shared = {.plain = true, .json = "Print the results as one JSON array"},
     .options = addCheckOptions},
    {.name = "dump",
     .summary = "Print the loaded script as JSON",
     .script = DUMP_SCRIPT_USE,
     .shared = {.plain = true, .file = "FILE", .fileHelp = "Script file to dump"},
     .options = addDumpOptions},
    {.name = "scramble",
     .summary = "Scramble a plain script into the form the player reads",
     .script = ScriptUse::None,
     .shared = {},
     .options = addScrambleOptions},
    {.name = "unscramble",
     .summary = "Turn a scrambled script back into plain text",
     .script = ScriptUse::None,
     .shared = {},
     .options = addUnscrambleOptions},
    {.name = "play",
     .summary = "Play a script in the terminal, as the player window would",
     .script = PLAY_SCRIPT_USE,
     .shared = {.plain = true, .file = "FILE", .fileHelp = "Script file to play"},
     .options = addPlayOptions},
    {.name = "test",
     .summary = "Play a script along transcript plans and check what it shows",
     .script = TEST_SCRIPT_USE,
     .shared = {.plain = true,
                .file = "SCRIPT",
                .fileHelp = "Script file to play",
                .json = "Print the results as one JSON document"},
     .options = addTestOptions},
    {.name = "stats",
     .summary = "Count characters, talk units, questions, states, variables and words",
     .script = STATS_SCRIPT_USE,
     .shared = {.plain = true, .file = "FILE", .fileHelp = "Script file to count"},
     .options = addStatsOptions},
    {.name = "graph",
     .summary = "Print the conversation graph: a node per character state, an edge per question",
     .script = GRAPH_SCRIPT_USE,
     .shared = {.plain = true, .file = "FILE", .fileHelp = "Script file to draw"},
     .options = addGraphOptions},
    {.name = "lint",
     .summary = "Warn about what in a script would stop the player or hide a text",
     .script = LINT_SCRIPT_USE,
     .shared = {.plain = true,
                .file = "FILE",
                .fileHelp = "Script file to check",
                .json = "Print the warnings as JSON"},
     .options = addLintOptions},
    {.name = "explore",
     .summary = "Play every way through a script and report where the player would stop",
     .script = EXPLORE_SCRIPT_USE,
     .shared = {.plain = true,
                .file = "FILE",
                .fileHelp = "Script file to explore",
                .json = "Print the report as JSON"},
     .options = addExploreOptions},
    {.name = "strings",
     .summary = "Export the shown texts for translation and build translated scripts",
     .script = ScriptUse::None,
     .shared = {},
     .options = addStringsOptions},
    {.name = "preview",
     .summary = "Playtest a script in the player's window, reloading it on every save",
     .script = ScriptUse::None,
     .shared = {},
     .options = addPreviewCommandOptions},
    {.name = "lsp",
     .summary = "Serve editors over the Language Server Protocol on standard input and output",
     .script = ScriptUse::None,
     .shared = {},
     .options = addLspOptions},
    {.name = "publish",
     .summary = "Write one HTML file that plays the script in a browser, with no server",
     .script = ScriptUse::None,
     .shared = {.plain = true},
     .options = addPublishOptions},
    {.name = "compat",
     .summary = "Report which saved games of OLD an edit into NEW would break",
     .script = ScriptUse::None,
     .shared = {.plain = true, .json = "Print the report as JSON"},
     .options = addCompatOptions},
    {.name = "new",
     .summary = "Make a game folder: a script that plays, a plan, and settings that keep its bytes",
     .script = ScriptUse::None,
     .shared = {},
     .options = addNewOptions},
};

} // namespace

std::span<const CommandRow> commandTable() {
    return COMMANDS;
}

CLI::App* addCommand(CLI::App& app, const CommandRow& row, ScriptArguments& shared,
                     ChosenCommand& chosen) {
    CLI::App* command = app.add_subcommand(row.name, row.summary);
    if (row.shared.plain) {
        CLI::Option* plain = command->add_flag("--plain", shared.plain, PLAIN_HELP);
        command->add_flag("--scrambled", shared.scrambled, SCRAMBLED_HELP)->excludes(plain);
    }
    if (row.shared.file != nullptr) {
        command->add_option(row.shared.file, shared.file, row.shared.fileHelp)->required();
    }
    if (row.shared.json != nullptr) {
        command->add_flag("--json", shared.json, row.shared.json);
    }
    row.options(*command, shared, chosen);
    return command;
}

int runCommand(const CommandRow& row, const ScriptArguments& shared, const ChosenCommand& chosen,
               std::ostream& out, std::ostream& err) {
    if (row.script == ScriptUse::None) {
        return chosen.run(out, err);
    }
    ScriptArguments script = shared;
    script.plain = readsPlain(shared.file, shared.plain, shared.scrambled);
    return runOnScript(script, row.script, out, err, chosen.work, chosen.failed);
}

} // namespace murmex::tool
