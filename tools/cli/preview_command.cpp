// `murmex preview`: hands its command line to the preview program.
#include "tools/cli/preview_command.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

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
    const int failure = errno;
    err << "murmex preview: cannot run " << program.string() << ": " << std::strerror(failure)
        << '\n';
    // Debian's packages put the window, which needs Qt, in the player's
    // package, so the tool alone lacks it.
    if (failure == ENOENT) {
        err << "murmex preview: the preview window comes with the player: install the kestrine "
               "package\n";
    }
#else
    err << "murmex preview: the preview window is built on Linux only\n";
#endif
    return EXIT_FAILED;
}

void addPreviewCommandOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    auto options = std::make_shared<PreviewOptions>();
    addPreviewOptions(command, *options);
    command.callback([options, &chosen] {
        chosen.run = [options](std::ostream&, std::ostream& err) {
            return runPreview(*options, err);
        };
    });
}

} // namespace murmex::tool
