// Whether the game in the preview can still be won: a search from the
// situation it stands in, over every way on, for a situation that meets a
// goal. Worded for the side panel.
#pragma once

#include "murmex/engine/conversation_engine.h"
#include "tools/analysis/explore_goal.h"
#include "tools/script_io/script_places.h"

#include <string>
#include <vector>

namespace murmex::tool {

// Situations the search from the game's standing stores at most: the panel
// waits for it after every step, so a large script gets a verdict of "not
// known" rather than a slow window.
inline constexpr uint64_t STANDING_SITUATIONS = 200'000;

// Where the game shown in `view` stands towards `goals` (resolved): met
// here, still to be met, lost, or not known. The engine and the view are
// put back as they were.
std::string goalStanding(ConversationEngine& engine, const ScriptPlaces& lines,
                         ConversationView& view, const std::vector<Goal>& goals);

} // namespace murmex::tool
