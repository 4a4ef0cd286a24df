// The preview program's options, and the command line that passes them on.
#include "tools/preview/preview_options.h"

#include <CLI/CLI.hpp>

namespace murmex::tool {

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

} // namespace murmex::tool
