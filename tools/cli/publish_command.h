// `murmex publish`: one HTML file that plays a script in any browser, from
// disk or from any web host, with the engine compiled to WebAssembly inside.
#pragma once

#include "tools/cli/command.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct PublishOptions {
    std::string file;
    std::string output;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // Where the page keeps its game between visits; the title when empty.
    std::string id;
    // Picks the page's own texts too; a labels file, when named, gives
    // texts of its own over them.
    std::string language = "en";
    std::string labelsFile;
    bool autosave = true;
    // Make a page even when the script does not load: it shows the window's message.
    bool allowBroken = false;
    // Folders holding the web build (share/murmex/web), tried in turn; the
    // tool's own places when empty.
    std::vector<std::filesystem::path> webFolders;
};

// The places the web build is looked for: beside the tool in an install
// (PREFIX/share/murmex/web), then in the build tree the tool was built in.
std::vector<std::filesystem::path> webBuildFolders();

// Writes the page. EXIT_FAILED, with the reason on `err`, when the script does
// not load (unless allowBroken), the web build is missing or the page can't be
// written; EXIT_USAGE when the labels file can't be read or holds what is no label.
int runPublish(const PublishOptions& options, std::ostream& out, std::ostream& err);

void addPublishOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
