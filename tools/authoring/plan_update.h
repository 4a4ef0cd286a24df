// Bringing a transcript plan up to date with an edited script: the plan is
// played by its choices, and each expectation the game no longer meets is
// rewritten with what the game shows there now. Only those steps change;
// comments, blank lines, the order of the steps and their line ends stay as
// written.
#pragma once

#include "tools/authoring/plan_walk.h"
#include "tools/authoring/play_session.h"
#include "tools/authoring/transcript_plan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

// One rewritten line of the plan, without its line end.
struct PlanChange {
    int32_t line = 0;
    std::string before;
    std::string after;
};

struct PlanUpdate {
    // The whole plan with the changes made.
    std::string text;
    std::vector<PlanChange> changes;
};

// Plays `plan`, parsed from `text`, on `session` (a freshly loaded script)
// and fills `update`. False when the plan's path cannot be followed any more
// (a choice whose question is gone, a failure where none is expected, an
// expected failure that no longer happens, or a text a plan cannot hold),
// with where and why in `halt`; `update` is then of no use.
bool updatePlan(const std::string& text, const TranscriptPlan& plan, PlaySession& session,
                PlanUpdate& update, PlanHalt& halt);

} // namespace murmex::tool
