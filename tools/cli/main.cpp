// Entry point of the murmex authoring tool. The table below lists every
// command and what it needs loaded; the driver parses the command line, loads
// the chosen command's script once (or reports the failed load once), and
// runs the command, then makes sure that all it wrote to standard output got
// there. A new command joins by its row here.
#include "tools/cli/check_command.h"
#include "tools/cli/command.h"
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
#include "tools/cli/standard_output.h"
#include "tools/cli/stats_command.h"
#include "tools/cli/strings_command.h"
#include "tools/cli/test_command.h"

#include "murmex/version.h"

#include <CLI/CLI.hpp>

#include <cstring>
#include <exception>
#include <iostream>

namespace {

using namespace murmex::tool;

struct CommandRow {
    AddCommand add;
    ScriptUse script;
};

constexpr CommandRow COMMANDS[] = {
    // check takes several scripts and reports each; play and test word a
    // failed load as the window does; scramble works on raw bytes.
    {addCheckCommand, ScriptUse::None},    {addDumpCommand, DUMP_SCRIPT_USE},
    {addScrambleCommand, ScriptUse::None}, {addUnscrambleCommand, ScriptUse::None},
    {addPlayCommand, ScriptUse::None},     {addTestCommand, ScriptUse::None},
    {addStatsCommand, STATS_SCRIPT_USE},   {addGraphCommand, GRAPH_SCRIPT_USE},
    {addLintCommand, LINT_SCRIPT_USE},     {addExploreCommand, EXPLORE_SCRIPT_USE},
    {addStringsCommand, ScriptUse::None},  {addPreviewCommand, ScriptUse::None},
    {addLspCommand, ScriptUse::None},      {addPublishCommand, ScriptUse::None},
    {addCompatCommand, ScriptUse::None},   {addNewCommand, ScriptUse::None},
};
constexpr size_t COMMAND_COUNT = sizeof(COMMANDS) / sizeof(COMMANDS[0]);

int runChosen(const CommandRow& row, const ChosenCommand& chosen) {
    if (row.script == ScriptUse::None) {
        return chosen.run(std::cout, std::cerr);
    }
    return runOnScript(chosen.script, row.script, std::cout, std::cerr, chosen.work);
}

int runTool(int argc, char** argv) {
    CLI::App app("Checks, shows, plays, tests, explores, scrambles and translates Murmex "
                 "conversation scripts.",
                 "murmex");
    app.require_subcommand(1);
    app.set_version_flag("--version", "murmex " MURMEX_VERSION_STRING);
    // Paths such as /tmp/x are file names, not /option switches, on every platform.
    app.allow_windows_style_options(false);
    ChosenCommand chosen;
    CLI::App* commands[COMMAND_COUNT] = {};
    for (size_t i = 0; i < COMMAND_COUNT; ++i) {
        commands[i] = COMMANDS[i].add(app, chosen);
    }
    try {
        app.parse(argc, argv);
        for (size_t i = 0; i < COMMAND_COUNT; ++i) {
            if (commands[i]->parsed()) {
                return runChosen(COMMANDS[i], chosen);
            }
        }
    } catch (const CLI::ParseError& error) {
        // --help is reported as a parse error that exits with 0.
        const int status = app.exit(error);
        return status == 0 ? EXIT_OK : EXIT_USAGE;
    } catch (const std::exception& error) {
        std::cerr << "murmex: " << error.what() << '\n';
        return EXIT_FAILED;
    }
    return EXIT_USAGE;
}

} // namespace

int main(int argc, char** argv) {
    holdStandardDescriptors();
    StandardOutput output;
    const int status = runTool(argc, argv);
    if (const int error = output.finish(); error != 0) {
        std::cerr << "murmex: cannot write output: " << std::strerror(error) << '\n';
        // A status that already tells of a failure says more than this one.
        return status == EXIT_OK ? EXIT_FAILED : status;
    }
    return status;
}
