// `murmex check`: loads each script and sums up what it holds, or shows where
// and why it does not load.
#include "tools/cli/check_command.h"

#include "tools/analysis/script_lint.h"
#include "tools/cli/finding_json.h"
#include "tools/script_io/load_failure_report.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

using Json = nlohmann::ordered_json;

std::string summary(const ConversationEngine& engine) {
    return std::to_string(engine.characterCount) + " characters, " +
           std::to_string(totalUnits(engine)) + " talk units, " +
           std::to_string(engine.blockSize()) + " bytes of text";
}

// A script that loads but that the player cannot start is worth more than a
// count of warnings: the ok line says so, and why, in lint's own words.
std::string startNote(const std::vector<Finding>& findings) {
    for (const Finding& finding : findings) {
        if (finding.name == "start-character-case" || finding.name == "no-intro") {
            return "; but " + finding.text;
        }
    }
    return "";
}

// Lint warnings do not fail a check; the ok line only counts them and says
// which command shows them.
std::string lintNote(const std::string& path, bool plain, size_t warnings) {
    if (warnings == 0) {
        return "";
    }
    return "; " + std::to_string(warnings) + (warnings == 1 ? " lint warning" : " lint warnings") +
           ": run murmex lint " + (plain ? "--plain " : "") + path;
}

Json resultToJson(const std::string& path, bool plain, const LoadedScript& loaded,
                  size_t warnings) {
    const ConversationEngine& engine = *loaded.engine;
    Json result;
    result["file"] = path;
    // How the file was read: guessed unless the command line said.
    result["plain"] = plain;
    result["ok"] = loaded.ok();
    result["code"] = loaded.code;
    if (loaded.ok()) {
        // Where a loaded script ends is no place to point an editor at.
        result["line"] = nullptr;
        result["message"] = "";
        result["description"] = summary(engine);
        result["lintWarnings"] = warnings;
    } else {
        result["line"] = loaded.line;
        result["message"] = loaded.message;
        result["description"] = loadErrorText(plain, loaded);
        result["lintWarnings"] = nullptr;
        result["errors"] = loadErrorsJson(plain, loaded);
    }
    return result;
}

} // namespace

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    int status = EXIT_OK;
    Json results = Json::array();
    for (const std::string& path : options.files) {
        const auto lines = std::make_unique<ScriptPlaces>();
        const bool plain = readsPlain(path, options.plain, !options.guess);
        const LoadedScript loaded = loadScript(path, plain, lines.get());
        const std::vector<Finding> findings =
            loaded.ok() ? lintScript(*loaded.engine, *lines) : std::vector<Finding>{};
        const size_t warnings = findings.size();
        if (!loaded.ok()) {
            status = EXIT_FAILED;
        }
        if (options.json) {
            results.push_back(resultToJson(path, plain, loaded, warnings));
        } else if (loaded.ok()) {
            // What was guessed is said: the player reads plain only when told.
            out << path << ": ok" << (options.guess ? plain ? " (plain)" : " (scrambled)" : "")
                << ": " << summary(*loaded.engine) << startNote(findings)
                << lintNote(path, options.plain, warnings) << '\n';
        } else {
            reportLoadFailure(path, plain, loaded, err);
        }
    }
    if (options.json) {
        printJson(out, results);
    }
    return status;
}

void addCheckOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<CheckOptions>();
    command.add_option("FILE", options->files, "Script files to check; - reads standard input")
        ->required();
    command.callback([options, &shared, &chosen] {
        options->plain = shared.plain;
        options->guess = !shared.plain && !shared.scrambled;
        options->json = shared.json;
        if (standardInputNamedTwice(options->files)) {
            throw CLI::ValidationError("FILE", std::string(STANDARD_INPUT_NAME) +
                                                   " (standard input) may be named only once");
        }
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runCheck(*options, out, err);
        };
    });
}

} // namespace murmex::tool
