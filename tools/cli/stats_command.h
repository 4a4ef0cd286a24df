// `murmex stats`: how big a script is and what it uses: characters, talk
// units, questions, initial answers, states, variables and words.
#pragma once

#include "tools/analysis/script_stats.h"
#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

struct StatsOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
};

// The figures on `out`, or the check error line on `err` and EXIT_FAILED.
int runStats(const StatsOptions& options, std::ostream& out, std::ostream& err);

inline constexpr ScriptUse STATS_SCRIPT_USE = ScriptUse::Loaded;
void addStatsOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
