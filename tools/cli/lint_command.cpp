// `murmex lint`: loads a script with its lines and prints the static checks.
#include "tools/cli/lint_command.h"

#include "tools/analysis/script_lint.h"
#include "tools/cli/finding_json.h"
#include "tools/script_io/script_loading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

int lintLoaded(const LintOptions& options, const LoadedScript& loaded, const ScriptPlaces& lines,
               std::ostream& out) {
    std::vector<Finding> findings = lintScript(*loaded.engine, lines);
    sortFindings(findings);
    if (options.json) {
        nlohmann::ordered_json json;
        json["file"] = options.file;
        json["warnings"] = nlohmann::ordered_json::array();
        for (const Finding& finding : findings) {
            json["warnings"].push_back(findingToJson(finding));
        }
        printJson(out, json);
    } else {
        for (const Finding& finding : findings) {
            printFinding(out, options.file, finding);
        }
    }
    return findings.empty() ? EXIT_OK : EXIT_FAILED;
}

ScriptWork lintWork(std::shared_ptr<const LintOptions> options) {
    return [options](const LoadedScript& loaded, const ScriptPlaces& lines, std::ostream& out,
                     std::ostream&) { return lintLoaded(*options, loaded, lines, out); };
}

} // namespace

int runLint(const LintOptions& options, std::ostream& out, std::ostream& err) {
    return runOnScript({options.file, options.plain}, LINT_SCRIPT_USE, out, err,
                       lintWork(std::make_shared<const LintOptions>(options)));
}

CLI::App* addLintCommand(CLI::App& app, ChosenCommand& chosen) {
    auto options = std::make_shared<LintOptions>();
    CLI::App* command = app.add_subcommand(
        "lint", "Warn about what in a script would stop the player or hide a text");
    command->add_flag("--plain", options->plain, "Read the file as plain text, not descrambled");
    command->add_flag("--json", options->json, "Print the warnings as JSON");
    command->add_option("FILE", options->file, "Script file to check")->required();
    command->callback([options, &chosen] {
        chosen.script = {options->file, options->plain};
        chosen.work = lintWork(options);
    });
    return command;
}

} // namespace murmex::tool
