// Plays every sequence of choices a player can make, breadth first, with the
// engine itself, and reports each failure the player would stop with (by the
// shortest way to it), the talk units no play reaches and whether the search
// saw everything.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/script_lines.h"
#include "tools/analysis/finding.h"

#include <cstdint>
#include <vector>

namespace murmex::tool {

struct ExploreLimits {
    // Situations stored at most; beyond them the search is cut off.
    uint64_t maxSituations = 2'000'000;
    // Questions in a row at most; situations deeper than that are not expanded.
    uint32_t maxDepth = 10'000;
    // Bytes the stored situations may take; beyond them the search is cut off.
    uint64_t maxBytes = uint64_t{1} << 30;
};

enum class CutOff {
    None,       // every reachable situation was seen
    Situations, // maxSituations was reached
    Depth,      // a situation at maxDepth still offered questions
    Memory,     // maxBytes was reached
};

// A talk unit no play reached.
struct UnitReference {
    int32_t character;
    int32_t unit;
};

struct ExploreReport {
    // Each distinct failure, with the shortest path to it, in the order found.
    std::vector<Finding> failures;
    // Units never offered as a question nor shown as an initial answer.
    std::vector<UnitReference> unreached;
    int32_t unitsReached = 0;
    int32_t unitsTotal = 0;
    uint64_t situations = 0;
    // Most questions chosen on the way to a stored situation.
    uint32_t deepest = 0;
    CutOff cutOff = CutOff::None;
};

// Explores from a start of "Intro" with an empty memory. The engine's
// characters and memory are changed; the script itself is not.
ExploreReport exploreScript(ConversationEngine& engine, const ScriptLines& lines,
                            const ExploreLimits& limits);

} // namespace murmex::tool
