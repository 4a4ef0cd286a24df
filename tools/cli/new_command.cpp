// `murmex new`: the template's files written one by one, each whole or not at
// all, into a folder that held nothing before; a run that fails takes away
// what it made.
#include "tools/cli/new_command.h"

#include "murmex/script_model.h"
#include "tools/authoring/game_template.h"
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

// The whole path from the root with links followed as far as it exists, and
// without a trailing separator, so that two spellings of one folder compare
// equal. weakly_canonical alone leaves a path that exists nowhere relative.
fs::path resolvedPath(const fs::path& path, std::error_code& code) {
    const fs::path absolute = fs::absolute(path, code);
    if (code) {
        return absolute;
    }
    const fs::path resolved = fs::weakly_canonical(absolute, code);
    return resolved.has_filename() || !resolved.has_relative_path() ? resolved
                                                                    : resolved.parent_path();
}

// The folder the system would reach, its links followed and each ".." taken
// after them: "full/nothere/.." is "full" and is checked as such, where making
// it step by step would create "full/nothere" and write beside the author's
// files. The name as given, tidied, is kept where it leads to the same place,
// so that what is printed reads as the author wrote it.
bool resolveFolder(const std::string& given, fs::path& folder, std::string& error) {
    std::error_code code;
    const fs::path resolved = resolvedPath(given, code);
    if (code) {
        error = "cannot resolve " + given + ": " + code.message();
        return false;
    }
    folder = fs::path(given).lexically_normal();
    if (resolvedPath(folder, code) != resolved || code) {
        folder = resolved;
    }
    return true;
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

// What one run made, so that a failure part-way (a full disk, say) takes it
// all away again: a retry must find the folder as the author left it.
class MadeSoFar {
  public:
    MadeSoFar() = default;
    MadeSoFar(const MadeSoFar&) = delete;
    MadeSoFar& operator=(const MadeSoFar&) = delete;
    ~MadeSoFar() {
        std::error_code ignored;
        for (auto path = made.rbegin(); path != made.rend(); ++path) {
            fs::remove(*path, ignored);
        }
    }

    // Makes the folder and those above it that are missing.
    bool makeFolder(const fs::path& folder, std::string& error) {
        std::error_code code;
        if (folder.empty() || fs::is_directory(folder, code)) {
            return true;
        }
        if (!makeFolder(folder.parent_path(), error)) {
            return false;
        }
        if (fs::create_directory(folder, code)) {
            made.push_back(folder);
        } else if (code) {
            error = "cannot make " + folder.string() + ": " + code.message();
            return false;
        }
        return true;
    }

    void madeFile(const fs::path& file) { made.push_back(file); }
    // Everything stays.
    void keep() { made.clear(); }

  private:
    std::vector<fs::path> made;
};

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
