// `murmex lint`: loads a script with its lines and prints the static checks.
#include "tools/cli/lint_command.h"

#include "tools/analysis/script_lint.h"
#include "tools/cli/finding_json.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

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

void addLintOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<LintOptions>();
    command.callback([options, &shared, &chosen] {
        options->file = shared.file;
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        options->json = shared.json;
        chosen.work = lintWork(options);
    });
}

} // namespace murmex::tool
