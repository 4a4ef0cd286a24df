// Every command of the murmex tool, a row each, in the order its help lists
// them: how the command joins the command line and what it needs loaded
// before it runs. The driver walks this table, and so does the test that
// holds every command's help and man page section to it.
#pragma once

#include "tools/cli/command.h"

#include <span>

namespace murmex::tool {

struct CommandRow {
    AddCommand add;
    ScriptUse script;
};

std::span<const CommandRow> commandTable();

} // namespace murmex::tool
