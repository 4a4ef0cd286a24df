// Following a transcript plan on a game the way `murmex test` plays it: the
// character it starts, each choice by number or by text, and the failures it
// expects. Whatever looks at the game along a plan without only checking it
// (an update of the plan, a reading of it through a translation) walks here
// and is shown the game at each expectation.
#pragma once

#include "tools/authoring/play_session.h"
#include "tools/authoring/transcript_plan.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

// Where and why a walk could not go on, in the words of `murmex test`:
// "PLAN:LINE: expected EXPECTED, got GOT".
struct PlanHalt {
    int32_t line = 0;
    std::string expected;
    std::string got;
};

class PlanWalker {
  public:
    virtual ~PlanWalker() = default;

    // Called at each expectation, the plan's step `index`, with the game as
    // it stands there. False, with `halt` filled in, stops the walk.
    virtual bool expectation(size_t index, const PlanStep& step, const PlaySession& session,
                             PlanHalt& halt) = 0;

    // Which offered question a choice by text means. By default the one
    // shown with exactly the plan's text.
    virtual QuestionMatch question(size_t index, const PlanStep& step, const PlaySession& session);
};

// The questions as a plan quotes them, "none" for no question.
std::string planQuotedList(const std::vector<std::string>& texts);

// Plays `plan` on `session`, which holds a freshly loaded script. False when
// a start or a choice cannot be followed or the walker stopped, with `halt`
// saying where and why.
bool walkPlan(const TranscriptPlan& plan, PlaySession& session, PlanWalker& walker, PlanHalt& halt);

} // namespace murmex::tool
