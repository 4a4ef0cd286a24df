// `murmex compat`: loads both scripts, checks every reachable screen of the
// old one against the new one, and words the report.
#include "tools/cli/compat_command.h"

#include "tools/analysis/save_compatibility.h"
#include "tools/cli/finding_json.h"
#include "tools/cli/search_options.h"
#include "tools/script_io/load_failure_report.h"
#include "tools/script_io/script_loading.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace murmex::tool {

namespace {

const char* version1Words(bool breaks) {
    return breaks ? "every version 1 saved game would break (the scripts differ)"
                  : "version 1 saved games restore (the scripts are the same)";
}

int exitFor(const CompatReport& report) {
    if (!report.broken.empty()) {
        return EXIT_FAILED;
    }
    return report.cutOff == CutOff::None ? EXIT_OK : EXIT_COMPAT_UNDECIDED;
}

void printReport(const CompatOptions& options, const CompatReport& report, std::ostream& out) {
    if (options.json) {
        nlohmann::ordered_json json;
        json["old"] = options.oldFile;
        json["new"] = options.newFile;
        json["situations"] = report.situations;
        json["screens"] = report.screens;
        json["complete"] = report.cutOff == CutOff::None;
        json["search"] = cutOffWords(report.cutOff);
        json["broken"] = nlohmann::ordered_json::array();
        for (const Finding& finding : report.broken) {
            json["broken"].push_back(findingToJson(finding));
        }
        json["version1Breaks"] = report.version1Breaks;
        printJson(out, json);
        return;
    }
    for (const Finding& finding : report.broken) {
        printFinding(out, options.oldFile, finding);
    }
    out << options.oldFile << ": " << report.screens << " screens a game can be saved at, in "
        << report.situations << " situations; search " << cutOffWords(report.cutOff) << "; ";
    if (report.broken.empty()) {
        out << (report.cutOff == CutOff::None ? "no saved game would break"
                                              : "none found that would break");
    } else {
        out << report.broken.size() << (report.broken.size() == 1 ? " breaks" : " break");
    }
    out << " in " << options.newFile << "; " << version1Words(report.version1Breaks) << '\n';
}

} // namespace

int runCompat(const CompatOptions& options, std::ostream& out, std::ostream& err) {
    // Some 60 KiB: kept off the stack.
    auto lines = std::make_unique<ScriptPlaces>();
    const LoadedScript oldScript = loadScript(options.oldFile, options.plain, lines.get());
    if (!oldScript.ok()) {
        reportLoadFailure(options.oldFile, options.plain, oldScript, err);
        return EXIT_FAILED;
    }
    const LoadedScript newScript = loadScript(options.newFile, options.plain);
    if (!newScript.ok()) {
        reportLoadFailure(options.newFile, options.plain, newScript, err);
        return EXIT_FAILED;
    }
    const CompatReport report =
        checkSaveCompatibility(*oldScript.engine, *lines, *newScript.engine, options.limits);
    printReport(options, report, out);
    return exitFor(report);
}

CLI::App* addCompatCommand(CLI::App& app, ChosenCommand& chosen) {
    auto options = std::make_shared<CompatOptions>();
    CLI::App* command = app.add_subcommand(
        "compat", "Report which saved games of OLD an edit into NEW would break");
    command->add_flag("--plain", options->plain, "Read the files as plain text, not descrambled");
    command->add_flag("--json", options->json, "Print the report as JSON");
    addSearchLimitOptions(*command, options->limits);
    command->add_option("OLD", options->oldFile, "The script the games were saved with")
        ->required();
    command->add_option("NEW", options->newFile, "The edited or translated script")->required();
    command->callback([options, &chosen] {
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runCompat(*options, out, err);
        };
    });
    return command;
}

} // namespace murmex::tool
