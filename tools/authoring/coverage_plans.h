// Plans that between them play every talk unit an exploration reaches, so
// that a project's gate on `murmex test --coverage` can start at 100 %. While
// the explorer searches, breadth first, the planner notes for each unit the
// first step whose screen shows it, which is the end of a shortest way
// there. Afterwards each noted step is played from a new game along the way
// the search first took to it, the deepest first; a step whose units an
// earlier plan already played is left out, as the ways to deep screens pass
// most shallow ones. Each plan is written as `murmex play --record` writes a
// game: every choice, then what it showed.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/analysis/script_explorer.h"
#include "tools/authoring/play_session.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

struct CoveragePlans {
    // Each plan's whole text, LF-ended lines.
    std::vector<std::string> texts;
    // Choices in all the plans together.
    uint64_t steps = 0;
    // Talk units the plans play between them, as `murmex test --coverage`
    // counts them.
    int32_t unitsPlayed = 0;
};

class CoveragePlanner {
  public:
    // Every unit of `engine`, the script about to be explored, still unseen.
    explicit CoveragePlanner(const ConversationEngine& engine);

    // The explorer's StepWatcher: notes each unit the screen shows for the
    // first time, with the step (the stored situation and the unit chosen
    // there) that led to it.
    void watch(uint32_t situation, int32_t unit, const ConversationEngine& engine,
               const ConversationView& view);

    // Plays the plans on `session`, which holds the explored script freshly
    // loaded; `script` is named in each plan's first comment. False, with the
    // reason, when a way the search took cannot be played again, which would
    // be a fault of the search.
    bool plan(const ExploreReport& report, PlaySession& session, const std::string& script,
              CoveragePlans& plans, std::string& error) const;

  private:
    // A step of the search: the question of `unit` chosen in the stored
    // situation, or for NO_SITUATION the game's first start.
    struct Step {
        uint32_t situation;
        int32_t unit;
    };

    void claim(int32_t character, int32_t unit, const Step& step, bool& stepKept);

    // firstStep[c][u]: the index in `steps` of the first step that showed
    // unit u of character c, or -1 while none has.
    std::vector<std::vector<int32_t>> firstStep;
    // Opening answers (no question, state 0) of each character not shown
    // yet: while there are none, a screen's answer needs no look-up.
    std::vector<int32_t> openingsLeft;
    std::vector<Step> steps;
    int64_t unitsLeft = 0;
};

} // namespace murmex::tool
