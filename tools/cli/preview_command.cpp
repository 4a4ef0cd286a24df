// `murmex preview`: hands its command line to the preview program.
#include "tools/cli/preview_command.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

#ifdef __linux__
#include <unistd.h>
#endif

namespace murmex::tool {

namespace {

// The preview program beside the running tool.
std::filesystem::path previewProgram() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(PREVIEW_PROGRAM) : self.parent_path() / PREVIEW_PROGRAM;
}

} // namespace

void addPreviewOptions(CLI::App& app, PreviewOptions& options) {
    app.add_flag("--plain", options.plain, "Read the file as plain text, not descrambled");
    app.add_option("FILE", options.file, "Script file to preview")->required();
    app.add_option("--start", options.start, "Character to start with")->capture_default_str();
    app.add_option("--choose", options.choices,
                   "Question numbers to choose at the start, as a list like 1,3,2")
        ->delimiter(',')
        ->check(CLI::Range(1, MAX_QUESTIONS));
}

std::vector<std::string> previewArguments(const PreviewOptions& options) {
    std::vector<std::string> arguments = {PREVIEW_PROGRAM, "--start", options.start};
    if (options.plain) {
        arguments.push_back("--plain");
    }
    if (!options.choices.empty()) {
        std::string list;
        for (int32_t choice : options.choices) {
            list += (list.empty() ? "" : ",") + std::to_string(choice);
        }
        arguments.insert(arguments.end(), {"--choose", list});
    }
    // After "--" a file name that starts with a dash stays a file name.
    arguments.insert(arguments.end(), {"--", options.file});
    return arguments;
}

int runPreview(const PreviewOptions& options, std::ostream& err) {
    const std::filesystem::path program = previewProgram();
    std::vector<std::string> arguments = previewArguments(options);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
#ifdef __linux__
    std::cout.flush();
    ::execv(program.c_str(), argv.data());
    err << "murmex preview: cannot run " << program.string() << ": " << std::strerror(errno)
        << '\n';
#else
    err << "murmex preview: the preview window is built on Linux only\n";
#endif
    return EXIT_FAILED;
}

CLI::App* addPreviewCommand(CLI::App& app, ChosenCommand& chosen) {
    auto options = std::make_shared<PreviewOptions>();
    CLI::App* command = app.add_subcommand(
        "preview", "Playtest a script in the player's window, reloading it on every save");
    addPreviewOptions(*command, *options);
    command->callback([options, &chosen] {
        chosen.run = [options](std::ostream&, std::ostream& err) {
            return runPreview(*options, err);
        };
    });
    return command;
}

} // namespace murmex::tool
