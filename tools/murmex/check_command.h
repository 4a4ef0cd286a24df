// `murmex check`: loads scripts as the player does and reports each one.
#pragma once

#include "tools/murmex/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct CheckOptions {
    std::vector<std::string> files;
    // Read the files as they stand instead of descrambled.
    bool plain = false;
};

// One "FILE: ok: ..." line on `out` per loaded file, one error line on `err`
// per failed one. EXIT_OK when every file loaded, else EXIT_FAILED.
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

void addCheckCommand(CLI::App& app, int& exitStatus);

} // namespace murmex::tool
