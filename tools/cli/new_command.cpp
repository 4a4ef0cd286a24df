// `murmex new`: the template's files written one by one, each whole or not at
// all, into a folder that held nothing before.
#include "tools/cli/new_command.h"

#include "murmex/script_model.h"
#include "tools/authoring/file_output.h"
#include "tools/authoring/game_template.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <system_error>

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
// overwritten or mixed in.
bool folderUsable(const std::string& folder, std::string& error) {
    std::error_code code;
    const fs::file_status status = fs::symlink_status(folder, code);
    if (!fs::exists(status)) {
        return true;
    }
    if (!fs::is_directory(status)) {
        error = folder + " exists and is no folder";
        return false;
    }
    if (!fs::is_empty(folder, code) || code) {
        error = folder + (code ? ": " + code.message() : " is not empty");
        return false;
    }
    return true;
}

bool writeTemplate(const std::string& folder, const std::string& title, std::ostream& out,
                   std::string& error) {
    for (const TemplateFile& file : gameTemplate(title)) {
        const fs::path path = fs::path(folder) / file.path;
        std::error_code code;
        fs::create_directories(path.parent_path(), code);
        if (code) {
            error = "cannot make " + path.parent_path().string() + ": " + code.message();
            return false;
        }
        if (!writeFileWhole(path.string(), file.bytes, false, error)) {
            return false;
        }
        out << path.string() << '\n';
    }
    return true;
}

} // namespace

int runNew(const NewOptions& options, std::ostream& out, std::ostream& err) {
    const std::string title = options.titled ? options.title : folderName(options.folder);
    if (const std::string problem = gameTitleProblem(title); !problem.empty()) {
        err << "murmex new: " << problem << (options.titled ? "" : "; name one with --title")
            << '\n';
        return EXIT_USAGE;
    }
    std::string error;
    if (!folderUsable(options.folder, error) || !writeTemplate(options.folder, title, out, error)) {
        err << "murmex new: " << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

CLI::App* addNewCommand(CLI::App& app, ChosenCommand& chosen) {
    auto options = std::make_shared<NewOptions>();
    CLI::App* command = app.add_subcommand(
        "new", "Make a game folder: a script that plays, a plan, and settings that keep its bytes");
    command->add_option("DIR", options->folder, "Folder to make; it must be new or empty")
        ->required();
    CLI::Option* title =
        command->add_option("--title", options->title,
                            "The game's title (at most " + std::to_string(MAX_TITLE) +
                                " bytes, one line, no double quote); by default the folder's name");
    command->callback([options, title, &chosen] {
        options->titled = title->count() > 0;
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runNew(*options, out, err);
        };
    });
    return command;
}

} // namespace murmex::tool
