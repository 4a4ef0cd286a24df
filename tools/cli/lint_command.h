// `murmex lint`: warnings about a script that loads but would trip the player
// or an author, each with its line.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

struct LintOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // One JSON document instead of warning lines.
    bool json = false;
};

// "FILE:LINE: warning: TEXT [name]" lines (or JSON) on `out`; a failed load
// on `err`. EXIT_FAILED when a warning was given or the load failed.
int runLint(const LintOptions& options, std::ostream& out, std::ostream& err);

// Lint points at lines: it needs the line of every unit.
inline constexpr ScriptUse LINT_SCRIPT_USE = ScriptUse::LoadedWithLines;
void addLintOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
