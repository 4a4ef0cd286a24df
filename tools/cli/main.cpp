// Entry point of the murmex authoring tool. The command table lists every
// command and what it needs loaded; the driver parses the command line, loads
// the chosen command's script once (or reports the failed load once), and
// runs the command, then makes sure that all it wrote to standard output got
// there.
#include "tools/cli/command_table.h"
#include "tools/cli/standard_output.h"

#include "murmex/version.h"

#include <CLI/CLI.hpp>

#include <cstring>
#include <exception>
#include <iostream>
#include <span>
#include <vector>

namespace {

using namespace murmex::tool;

int runTool(int argc, char** argv) {
    CLI::App app("Checks, shows, plays, tests, explores, scrambles and translates Murmex "
                 "conversation scripts.",
                 "murmex");
    app.require_subcommand(1);
    app.set_version_flag("--version", "murmex " MURMEX_VERSION_STRING);
    // Paths such as /tmp/x are file names, not /option switches, on every platform.
    app.allow_windows_style_options(false);
    ChosenCommand chosen;
    const std::span<const CommandRow> table = commandTable();
    // Sized once: each command's options are bound to its own entry.
    std::vector<ScriptArguments> shared(table.size());
    std::vector<CLI::App*> commands;
    for (size_t i = 0; i < table.size(); ++i) {
        commands.push_back(addCommand(app, table[i], shared[i], chosen));
    }
    try {
        app.parse(argc, argv);
        for (size_t i = 0; i < table.size(); ++i) {
            if (commands[i]->parsed()) {
                return runCommand(table[i], shared[i], chosen, std::cout, std::cerr);
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
