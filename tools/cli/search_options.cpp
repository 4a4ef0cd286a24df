// The search limits' options and the words for how a search ended.
#include "tools/cli/search_options.h"

#include "tools/cli/number_option.h"

#include <cstdint>

namespace murmex::tool {

namespace {

// The most --max-states and --max-depth take. The memory limit cuts a search
// off long before it stores this many situations, and no path is longer than
// the situations along it, so a larger limit could change nothing.
constexpr uint64_t MOST_SITUATIONS = 1'000'000'000;

} // namespace

void addSearchLimitOptions(CLI::App& command, ExploreLimits& limits) {
    command
        .add_option("--max-states", limits.maxSituations, "Distinct situations to store at most")
        ->check(wholeNumberIn(1, MOST_SITUATIONS))
        ->capture_default_str();
    command.add_option("--max-depth", limits.maxDepth, "Questions in a row to follow at most")
        ->check(wholeNumberIn(1, MOST_SITUATIONS))
        ->capture_default_str();
}

const char* cutOffWords(CutOff cutOff) {
    switch (cutOff) {
    case CutOff::Situations:
        return "cut off by --max-states";
    case CutOff::Depth:
        return "cut off by --max-depth";
    case CutOff::Memory:
        return "cut off by the memory limit";
    case CutOff::None:
        break;
    }
    return "complete";
}

} // namespace murmex::tool
