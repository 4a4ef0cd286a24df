// The command line of the preview program, murmex-preview. `murmex preview`
// takes the same options and hands them on, so both read them from the
// definition here.
#pragma once

#include "murmex/conversation_flow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace murmex::tool {

struct PreviewOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // The character the game starts with.
    std::string start = START_CHARACTER;
    // Question numbers from 1, chosen once the script has loaded.
    std::vector<int32_t> choices;
    // Goals' texts (explore_goal.h): the panel says when none can be met any more.
    std::vector<std::string> goals{};
};

// The program that shows the window, looked for in the tool's own folder.
inline constexpr const char* PREVIEW_PROGRAM = "murmex-preview";

// Adds the preview's options to `app`, filling `options` as they are parsed.
void addPreviewOptions(CLI::App& app, PreviewOptions& options);

// The command line that hands the options on to the preview program.
std::vector<std::string> previewArguments(const PreviewOptions& options);

} // namespace murmex::tool
