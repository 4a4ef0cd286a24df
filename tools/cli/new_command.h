// `murmex new`: a game folder to start from, whose script loads, lints clean,
// plays and passes its plan at once.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

struct NewOptions {
    std::string folder;
    // The window's caption, when `titled`; otherwise the folder's name.
    std::string title;
    bool titled = false;
};

// Makes the folder (and its parents) and writes the template's files into it.
// The folder is the one its name leads to, ".." taken after any link. A folder
// that exists and holds anything, or a file at its place, is refused with
// EXIT_FAILED, and so is a title the script cannot hold, with EXIT_USAGE; one
// line on `err` says why. A failure while writing (a full disk) removes every
// file and folder the run made. Lists the files made on `out`.
int runNew(const NewOptions& options, std::ostream& out, std::ostream& err);

void addNewOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
