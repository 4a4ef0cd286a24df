// What every command that searches a script's situations (explore, compat)
// says the same way: its limit options, and how a search ended.
#pragma once

#include "tools/analysis/script_explorer.h"

#include <CLI/CLI.hpp>

namespace murmex::tool {

// --max-states and --max-depth, into `limits`.
void addSearchLimitOptions(CLI::App& command, ExploreLimits& limits);

// "complete", or what cut the search off, in the words of its option.
const char* cutOffWords(CutOff cutOff);

} // namespace murmex::tool
