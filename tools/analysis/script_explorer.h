// Plays every sequence of choices a player can make, breadth first, with the
// engine itself, and reports each failure the player would stop with (by the
// shortest way to it), the talk units no play reaches and whether the search
// saw everything; given goals, also the steps after which none can be met.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/game_state.h"
#include "tools/analysis/explore_goal.h"
#include "tools/analysis/finding.h"
#include "tools/analysis/goal_graph.h"
#include "tools/script_io/script_places.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace murmex::tool {

class SituationStore;

struct ExploreLimits {
    // Situations stored at most; beyond them the search is cut off.
    uint64_t maxSituations = 2'000'000;
    // Questions in a row at most; situations deeper than that are not expanded.
    uint32_t maxDepth = 10'000;
    // Bytes the stored situations and failures may take; beyond them the
    // search is cut off.
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

enum class FailureKind : uint8_t {
    NoIntro,
    StartFails,
    DeadEnd,
    CannotApply,
    NextState99,
    MissingCharacter,
    // Not a stop: a money action takes the counter from zero or more below zero.
    MoneyBelowZero,
};

// A failure as the search keeps it: indices into the script and the stored
// situations, no text of its own. A script with long paths to many failures
// would otherwise keep every question of every path; describeFailure words
// one when it is printed.
struct FailureRecord {
    // The engine's failure text, or for a hand-over to no character the name
    // it asked for: a fixed message or a text of the engine's pool, so it
    // lives as long as the engine.
    const char* text;
    // The situation whose question failed; NO_SITUATION for the game's first
    // start, which has no question before it.
    uint32_t situation;
    // For a dead end, the state the character is left in; for money below
    // zero, the money after the step.
    int32_t state;
    // The talk unit of the situation's character whose question failed.
    uint16_t unit;
    // For a start that fails, the character started; otherwise the
    // situation's.
    uint8_t character;
    FailureKind kind;
};

inline constexpr uint32_t NO_SITUATION = UINT32_MAX;

// What a search is given besides its limits when it judges goals.
struct GoalSearch {
    // Resolved (resolveGoals). With none the search keeps nothing more.
    std::vector<Goal> goals;
    // The game state the search begins in, a conversation under way; null
    // for the game's first start of "Intro".
    const GameState* from = nullptr;
};

enum class GoalVerdict : uint8_t {
    NotAsked,   // no goal was given
    Judged,     // the search saw every situation
    Incomplete, // the search was cut off: nothing is claimed
};

struct ExploreReport {
    // Each distinct failure in the order found, the shortest way to it first,
    // as far as the memory limit let them be kept.
    std::vector<FailureRecord> failures;
    // Distinct failures found, also those found once the memory limit was
    // reached, which are counted but not kept.
    uint64_t failuresFound = 0;
    // Units never offered as a question nor shown as an initial answer.
    std::vector<UnitReference> unreached;
    int32_t unitsReached = 0;
    int32_t unitsTotal = 0;
    uint64_t situations = 0;
    // Most questions chosen on the way to a stored situation.
    uint32_t deepest = 0;
    CutOff cutOff = CutOff::None;
    GoalVerdict goalVerdict = GoalVerdict::NotAsked;
    // Filled when the goals were judged.
    GoalJudgement goals;
    // The situations stored, each with the one it was first reached from:
    // the way back to the start from every failure.
    std::shared_ptr<const SituationStore> store;
};

// Told of every screen a step of the search leads to, failed steps aside:
// the stored situation the step was taken in (NO_SITUATION for the game's
// first start) and the unit of its character whose question was chosen, with
// the engine and the view as the step left them.
using StepWatcher =
    std::function<void(uint32_t situation, int32_t unit, const ConversationEngine& engine,
                       const ConversationView& view)>;

// Explores from a start of "Intro" with an empty memory. The engine's
// characters and memory are changed; the script itself is not. The report
// points into the engine's texts and must not outlive it.
ExploreReport exploreScript(ConversationEngine& engine, const ScriptPlaces& lines,
                            const ExploreLimits& limits, const StepWatcher& watcher = {});
// The same, judging the goals: from which situations none can be met. With
// `goals.from`, the search begins there instead, and the failures, units and
// ways it reports are those that follow from there.
ExploreReport exploreScript(ConversationEngine& engine, const ScriptPlaces& lines,
                            const ExploreLimits& limits, const StepWatcher& watcher,
                            const GoalSearch& goals);

// The questions that lead from the start to choosing `unit` in stored
// situation `situation`, that one last; none for NO_SITUATION.
std::vector<std::string> questionsTo(const ConversationEngine& engine, const ExploreReport& report,
                                     uint32_t situation, int32_t unit);

// A failure of the report worded as a finding, with the questions that lead
// to it rebuilt from the stored situations. `engine` and `lines` are those
// explored.
Finding describeFailure(const ConversationEngine& engine, const ScriptPlaces& lines,
                        const ExploreReport& report, const FailureRecord& failure);

} // namespace murmex::tool
