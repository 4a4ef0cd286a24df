// The preview program's options, and the command line that passes them on.
#include "tools/preview/preview_options.h"

#include "tools/analysis/explore_goal.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace murmex::tool {

void addPreviewOptions(CLI::App& app, PreviewOptions& options) {
    auto scrambled = std::make_shared<bool>(false);
    CLI::Option* plain = app.add_flag("--plain", options.plain, PLAIN_HELP);
    app.add_flag("--scrambled", *scrambled, SCRAMBLED_HELP)->excludes(plain);
    app.add_option("FILE", options.file, "Script file to preview")->required();
    // Settled once, so that every reload after a save reads the file the same way.
    app.parse_complete_callback([&options, scrambled] {
        options.plain = readsPlain(options.file, options.plain, *scrambled);
    });
    app.add_option("--start", options.start, "Character to start with")->capture_default_str();
    app.add_option("--choose", options.choices,
                   "Question numbers to choose at the start, as a list like 1,3,2")
        ->delimiter(',')
        ->check(CLI::Range(1, MAX_QUESTIONS));
    CLI::Validator goalCheck;
    goalCheck.operation([](std::string& text) -> std::string {
        Goal goal;
        std::string error;
        return readGoal(text, goal, error) ? "" : error;
    });
    app.add_option("--goal", options.goals,
                   std::string("A goal that wins the game, repeatable: ") + GOAL_FORMS +
                       "; the panel says when none can be met any more")
        ->type_name("GOAL")
        ->expected(1)
        ->take_all()
        ->check(goalCheck);
}

std::vector<std::string> previewArguments(const PreviewOptions& options) {
    std::vector<std::string> arguments = {PREVIEW_PROGRAM, "--start", options.start};
    arguments.push_back(options.plain ? "--plain" : "--scrambled");
    if (!options.choices.empty()) {
        std::string list;
        for (int32_t choice : options.choices) {
            list += (list.empty() ? "" : ",") + std::to_string(choice);
        }
        arguments.insert(arguments.end(), {"--choose", list});
    }
    for (const std::string& goal : options.goals) {
        arguments.insert(arguments.end(), {"--goal", goal});
    }
    // After "--" a file name that starts with a dash stays a file name.
    arguments.insert(arguments.end(), {"--", options.file});
    return arguments;
}

} // namespace murmex::tool
