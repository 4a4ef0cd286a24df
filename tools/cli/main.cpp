// Entry point of the murmex authoring tool: registers the commands and runs
// the one the command line names. A new command joins by its add function here.
#include "tools/cli/check_command.h"
#include "tools/cli/command.h"
#include "tools/cli/dump_command.h"
#include "tools/cli/play_command.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/graph_command.h"
#include "tools/cli/lint_command.h"
#include "tools/cli/scramble_command.h"
#include "tools/cli/stats_command.h"
#include "tools/cli/test_command.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

namespace {

constexpr murmex::tool::AddCommand COMMANDS[] = {
    murmex::tool::addCheckCommand,
    murmex::tool::addDumpCommand,
    murmex::tool::addScrambleCommand,
    murmex::tool::addUnscrambleCommand,
    murmex::tool::addPlayCommand,
    murmex::tool::addTestCommand,
    murmex::tool::addStatsCommand,
    murmex::tool::addGraphCommand,
    murmex::tool::addLintCommand,
    murmex::tool::addExploreCommand,
};

} // namespace

int main(int argc, char** argv) {
    CLI::App app("Checks, shows, plays, tests, explores and scrambles Murmex conversation scripts.", "murmex");
    app.require_subcommand(1);
    int exitStatus = murmex::tool::EXIT_OK;
    for (murmex::tool::AddCommand addCommand : COMMANDS) {
        addCommand(app, exitStatus);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help is reported as a parse error that exits with 0.
        const int status = app.exit(error);
        return status == 0 ? murmex::tool::EXIT_OK : murmex::tool::EXIT_USAGE;
    } catch (const std::exception& error) {
        std::cerr << "murmex: " << error.what() << '\n';
        return murmex::tool::EXIT_FAILED;
    }
    return exitStatus;
}
