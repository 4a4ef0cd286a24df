// The search from the preview's game, and its verdict in words.
#include "tools/preview/goal_standing.h"

#include "murmex/game_state.h"
#include "tools/analysis/script_explorer.h"

#include <memory>

namespace murmex::tool {

std::string goalStanding(ConversationEngine& engine, const ScriptPlaces& lines,
                         ConversationView& view, const std::vector<Goal>& goals) {
    // Some 13 KiB: kept off the stack.
    auto now = std::make_unique<GameState>();
    if (view.characterIndex < 0 || captureGameState(engine, view, *now) != GAME_STATE_OK) {
        return "";
    }
    if (anyGoalMet(goals, engine.memory, view.characterIndex)) {
        return "A goal is met here.";
    }
    GoalSearch search{goals, now.get()};
    ExploreLimits limits;
    limits.maxSituations = STANDING_SITUATIONS;
    const ExploreReport report = exploreScript(engine, lines, limits, {}, search);
    applyGameState(*now, engine, view);
    if (report.goalVerdict != GoalVerdict::Judged) {
        return "Not known whether a goal can still be met: the search from here stopped after " +
               std::to_string(report.situations) + " situations.";
    }
    return report.goals.reachable ? "A goal can still be met from here."
                                  : "Lost: no goal can be met from here any more.";
}

} // namespace murmex::tool
