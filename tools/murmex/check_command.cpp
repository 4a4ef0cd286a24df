// `murmex check`: loads each script and sums up what it holds.
#include "tools/murmex/check_command.h"

#include "tools/murmex/script_loading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    int status = EXIT_OK;
    for (const std::string& path : options.files) {
        const LoadedScript loaded = loadScript(path, options.plain);
        if (!loaded.ok()) {
            err << loadErrorLine(path, options.plain, loaded) << '\n';
            status = EXIT_FAILED;
            continue;
        }
        const ConversationEngine& engine = *loaded.engine;
        out << path << ": ok: " << engine.characterCount << " characters, " << totalUnits(engine)
            << " talk units, " << engine.blockSize() << " bytes of text\n";
    }
    return status;
}

void addCheckCommand(CLI::App& app, int& exitStatus) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = app.add_subcommand(
        "check", "Load scripts exactly as the player does and report each one");
    command->add_flag("--plain", options->plain, "Read the files as plain text, not descrambled");
    command->add_option("FILE", options->files, "Script files to check")->required();
    command->callback([options, &exitStatus] {
        exitStatus = runCheck(*options, std::cout, std::cerr);
    });
}

} // namespace murmex::tool
