// `murmex new`: the template's files written one by one, each whole or not at
// all, into a folder that held nothing before; a run that fails takes away
// what it made.
#include "tools/cli/new_command.h"

#include "murmex/script_model.h"
#include "tools/authoring/game_template.h"
#include "tools/authoring/output_folder.h"
#include "tools/platform/file_output.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace murmex::tool {

namespace {

namespace fs = std::filesystem;

// The folder's own name: "games/my-game/" gives "my-game".
std::string folderName(const std::string& folder) {
    const fs::path path = fs::path(folder).lexically_normal();
    const fs::path name = path.has_filename() ? path.filename() : path.parent_path().filename();
    return name == "." || name == ".." ? "" : name.string();
}

// An existing folder must be empty, so that nothing of the author's is
// overwritten or mixed in. `named` is how the refusal names it.
bool folderUsable(const fs::path& folder, const std::string& named, std::string& error) {
    std::error_code code;
    const fs::file_status status = fs::symlink_status(folder, code);
    if (!fs::exists(status)) {
        return true;
    }
    if (!fs::is_directory(status)) {
        error = named + " exists and is no folder";
        return false;
    }
    if (!fs::is_empty(folder, code) || code) {
        error = named + (code ? ": " + code.message() : " is not empty");
        return false;
    }
    return true;
}

bool writeTemplate(const fs::path& folder, const std::string& title, std::ostream& out,
                   std::string& error) {
    MadeSoFar made;
    if (!made.makeFolder(folder, error)) {
        return false;
    }
    // Listed once all are there: after a failure none of them is.
    std::string list;
    for (const TemplateFile& file : gameTemplate(title)) {
        const fs::path path = folder / file.path;
        if (!made.makeFolder(path.parent_path(), error) ||
            !writeFileWhole(path.string(), file.bytes, false, error)) {
            return false;
        }
        made.madeFile(path);
        list += path.string() + '\n';
    }
    made.keep();
    out << list;
    return true;
}

} // namespace

int runNew(const NewOptions& options, std::ostream& out, std::ostream& err) {
    fs::path folder;
    std::string error;
    if (!resolveFolder(options.folder, folder, error)) {
        err << "murmex new: " << error << '\n';
        return EXIT_FAILED;
    }
    const std::string title = options.titled ? options.title : folderName(folder.string());
    if (const std::string problem = gameTitleProblem(title); !problem.empty()) {
        err << "murmex new: " << problem << (options.titled ? "" : "; name one with --title")
            << '\n';
        return EXIT_USAGE;
    }
    // Both names where they differ, so that the author sees which folder it was.
    const std::string named = folder.string() == options.folder
                                  ? options.folder
                                  : options.folder + " (" + folder.string() + ")";
    if (!folderUsable(folder, named, error) || !writeTemplate(folder, title, out, error)) {
        err << "murmex new: " << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

void addNewOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    auto options = std::make_shared<NewOptions>();
    command.add_option("DIR", options->folder, "Folder to make; it must be new or empty")
        ->required();
    CLI::Option* title =
        command.add_option("--title", options->title,
                           "The game's title (at most " + std::to_string(MAX_TITLE) +
                               " bytes, one line, no double quote); by default the folder's name");
    command.callback([options, title, &chosen] {
        options->titled = title->count() > 0;
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runNew(*options, out, err);
        };
    });
}

} // namespace murmex::tool
