// `murmex explore`: plays every way through a script and reports where the
// player would stop, how to get there, and what no play reaches.
#pragma once

#include "tools/analysis/script_explorer.h"
#include "tools/cli/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct ExploreOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // One JSON document instead of lines.
    bool json = false;
    ExploreLimits limits;
    // Failures printed at most; the rest are only counted. 0 prints the count
    // alone.
    uint32_t maxFailures = 100;
    // A folder to write plans into that play every unit reached; none when
    // empty.
    std::string writePlans{};
    // The goals' texts as given (explore_goal.h); none judges no goal.
    std::vector<std::string> goals{};
};

// The most --max-failures takes: more than any script can fail with (a few
// for each talk unit), so a larger number is a mistake, not a wish for all.
inline constexpr uint32_t MAX_FAILURES_SHOWN = 1'000'000;

// Findings in the lint line format (at most options.maxFailures failures,
// then how many more were found) and a summary line on `out` (or JSON); a
// failed load on `err`. With writePlans, also the plans written there and
// what they play; a folder that cannot take them is refused on `err` before
// the search. With goals, also each step after which none can be met.
// EXIT_FAILED when a failure is reachable, a step closes the way to every goal,
// the load failed or the plans could not be written; EXIT_USAGE for a goal
// that is none, or names no character of the script.
int runExplore(const ExploreOptions& options, std::ostream& out, std::ostream& err);

// Failures and unreached units point at lines.
inline constexpr ScriptUse EXPLORE_SCRIPT_USE = ScriptUse::LoadedWithLines;
void addExploreOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
