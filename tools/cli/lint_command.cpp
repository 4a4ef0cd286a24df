// `murmex lint`: loads a script with its lines and prints the static checks.
#include "tools/cli/lint_command.h"

#include "tools/analysis/script_lint.h"
#include "tools/analysis/script_loading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

int runLint(const LintOptions& options, std::ostream& out, std::ostream& err) {
    // Some 60 KiB: kept off the stack.
    auto lines = std::make_unique<ScriptLines>();
    const LoadedScript loaded = loadScript(options.file, options.plain, lines.get());
    if (!loaded.ok()) {
        err << loadErrorLine(options.file, options.plain, loaded) << '\n';
        return EXIT_FAILED;
    }
    std::vector<Finding> findings = lintScript(*loaded.engine, *lines);
    sortFindings(findings);
    if (options.json) {
        nlohmann::ordered_json json;
        json["file"] = options.file;
        json["warnings"] = nlohmann::ordered_json::array();
        for (const Finding& finding : findings) {
            json["warnings"].push_back(findingToJson(finding));
        }
        out << json.dump(2) << '\n';
    } else {
        for (const Finding& finding : findings) {
            printFinding(out, options.file, finding);
        }
    }
    return findings.empty() ? EXIT_OK : EXIT_FAILED;
}

void addLintCommand(CLI::App& app, int& exitStatus) {
    auto options = std::make_shared<LintOptions>();
    CLI::App* command = app.add_subcommand(
        "lint", "Warn about what in a script would stop the player or hide a text");
    command->add_flag("--plain", options->plain, "Read the file as plain text, not descrambled");
    command->add_flag("--json", options->json, "Print the warnings as JSON");
    command->add_option("FILE", options->file, "Script file to check")->required();
    command->callback(
        [options, &exitStatus] { exitStatus = runLint(*options, std::cout, std::cerr); });
}

} // namespace murmex::tool
