// The goals' verdict worded as findings: each step after which no goal can
// be met any more, with the shortest way to it and the unit whose step closed
// the way, or that none can be met from the start at all.
#pragma once

#include "tools/analysis/finding.h"
#include "tools/analysis/script_explorer.h"

#include <vector>

namespace murmex::tool {

// The rule the findings carry.
inline constexpr const char* GOAL_UNREACHABLE = "goal-unreachable";

// Empty unless the report judged the goals. `engine`, `lines` and `goals`
// are those explored.
std::vector<Finding> goalFindings(const ConversationEngine& engine, const ScriptPlaces& lines,
                                  const ExploreReport& report, const std::vector<Goal>& goals);

} // namespace murmex::tool
