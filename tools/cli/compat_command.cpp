// `murmex compat`: loads both scripts, checks every reachable screen of the
// old one against the new one, and words the report.
#include "tools/cli/compat_command.h"

#include "tools/analysis/save_compatibility.h"
#include "tools/cli/finding_json.h"
#include "tools/cli/search_options.h"
#include "tools/script_io/load_failure_report.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace murmex::tool {

namespace {

const char* version1Words(bool breaks) {
    return breaks ? "every version 1 saved game would break (the scripts differ)"
                  : "version 1 saved games restore (the scripts are the same)";
}

// A saved game of the folder: its path and how it fares.
struct SavedGameCheck {
    std::string file;
    SavedGameVerdict verdict;
};

// No saved game comes near this; a larger file is refused unread.
constexpr size_t SAVED_GAME_FILE_LIMIT = size_t{1} << 20;

// Restores every regular file of the folder, in the order of their names.
// False, with the reason on `err`, when the folder can't be read.
bool checkSavesFolder(const std::string& folder, ConversationEngine& script,
                      std::vector<SavedGameCheck>& checks, std::ostream& err) {
    std::error_code failed;
    std::vector<std::string> files;
    for (std::filesystem::directory_iterator it(folder, failed), end; !failed && it != end;
         it.increment(failed)) {
        if (it->is_regular_file(failed)) {
            files.push_back(it->path().string());
        }
    }
    if (failed) {
        err << "murmex compat: " << folder << ": " << failed.message() << '\n';
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        std::string bytes;
        std::string error;
        SavedGameCheck check{file, {}};
        if (readWholeFile(file, SAVED_GAME_FILE_LIMIT, bytes, error)) {
            check.verdict = checkSavedGame(script, bytes);
        } else {
            check.verdict.words = "refused: " + error;
        }
        checks.push_back(std::move(check));
    }
    return true;
}

int exitFor(const CompatReport& report, const std::vector<SavedGameCheck>& saves) {
    const bool refused = std::any_of(saves.begin(), saves.end(), [](const SavedGameCheck& save) {
        return !save.verdict.resumes;
    });
    if (!report.broken.empty() || refused) {
        return EXIT_FAILED;
    }
    return report.cutOff == CutOff::None ? EXIT_OK : EXIT_COMPAT_UNDECIDED;
}

void printReport(const CompatOptions& options, const CompatReport& report,
                 const std::vector<SavedGameCheck>& saves, std::ostream& out) {
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
        if (!options.savesFolder.empty()) {
            json["saves"] = nlohmann::ordered_json::array();
            for (const SavedGameCheck& save : saves) {
                json["saves"].push_back({{"file", save.file},
                                         {"resumes", save.verdict.resumes},
                                         {"words", save.verdict.words}});
            }
        }
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
    for (const SavedGameCheck& save : saves) {
        out << save.file << ": " << save.verdict.words << '\n';
    }
}

} // namespace

int runCompat(const CompatOptions& options, std::ostream& out, std::ostream& err) {
    // Some 60 KiB: kept off the stack.
    auto lines = std::make_unique<ScriptPlaces>();
    const bool oldPlain = readsPlain(options.oldFile, options.plain, !options.guess);
    const LoadedScript oldScript = loadScript(options.oldFile, oldPlain, lines.get());
    if (!oldScript.ok()) {
        reportLoadFailure(options.oldFile, oldPlain, oldScript, err);
        return EXIT_FAILED;
    }
    const bool newPlain = readsPlain(options.newFile, options.plain, !options.guess);
    const LoadedScript newScript = loadScript(options.newFile, newPlain);
    if (!newScript.ok()) {
        reportLoadFailure(options.newFile, newPlain, newScript, err);
        return EXIT_FAILED;
    }
    std::vector<SavedGameCheck> saves;
    if (!options.savesFolder.empty() &&
        !checkSavesFolder(options.savesFolder, *newScript.engine, saves, err)) {
        return EXIT_FAILED;
    }
    const CompatReport report =
        checkSaveCompatibility(*oldScript.engine, *lines, *newScript.engine, options.limits);
    printReport(options, report, saves, out);
    return exitFor(report, saves);
}

void addCompatOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<CompatOptions>();
    addSearchLimitOptions(command, options->limits);
    command.add_option("--saves", options->savesFolder,
                       "Restore every saved game in this folder into NEW and say how each "
                       "fares");
    command.add_option("OLD", options->oldFile, "The script the games were saved with")->required();
    command.add_option("NEW", options->newFile, "The edited or translated script")->required();
    command.callback([options, &shared, &chosen] {
        options->plain = shared.plain;
        options->guess = !shared.plain && !shared.scrambled;
        options->json = shared.json;
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runCompat(*options, out, err);
        };
    });
}

} // namespace murmex::tool
