// `murmex check`: loads scripts as the player does and reports each one.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct CheckOptions {
    std::vector<std::string> files;
    // Read the files as they stand instead of descrambled.
    bool plain = false;
    // Report every file in one JSON array on `out` instead of lines.
    bool json = false;
    // Read each file as its first line says unless `plain`, and say which
    // reading it took.
    bool guess = false;
};

// One "FILE: ok: ..." line on `out` per loaded file; per failed one an error
// line on `err` followed by the script's lines around the error. With `json`,
// one array on `out` with an object per file (file, ok, code, line, message,
// description). EXIT_OK when every file loaded, else EXIT_FAILED.
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

void addCheckOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
