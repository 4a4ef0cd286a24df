// Every command of the murmex tool, a row each, in the order its help lists
// them: its name and summary, how it takes its script, which of the shared
// options it takes, and the function that adds its own. The driver walks this
// table, and so does the test that holds every command's help and man page
// section to it.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <span>

namespace murmex::tool {

// The shared options a command takes; the driver adds them, in this order,
// before the command's own.
struct SharedOptions {
    // --plain: read the script as it stands.
    bool plain = false;
    // The script's argument, by the name its help shows ("FILE", "SCRIPT"),
    // with its help; none when null.
    const char* file = nullptr;
    const char* fileHelp = nullptr;
    // --json, with its help; none when null.
    const char* json = nullptr;
};

struct CommandRow {
    const char* name;
    const char* summary;
    ScriptUse script;
    SharedOptions shared;
    AddOptions options;
};

std::span<const CommandRow> commandTable();

// Adds the row's command to `app`: its shared options, bound to `shared`, then
// its own.
CLI::App* addCommand(CLI::App& app, const CommandRow& row, ScriptArguments& shared,
                     ChosenCommand& chosen);

// Runs the command the line chose: loads its script first if it takes one.
int runCommand(const CommandRow& row, const ScriptArguments& shared, const ChosenCommand& chosen,
               std::ostream& out, std::ostream& err);

} // namespace murmex::tool
