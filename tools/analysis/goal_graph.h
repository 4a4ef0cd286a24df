// The steps between the situations an exploration stores, kept only when it
// has goals, and what they tell once the search is complete: from which
// situations a goal can still be met, and the steps that close the way,
// leading from such a situation to one from which none can.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace murmex::tool {

class SituationStore;

// A step that closes the way to every goal: the question of `unit` of the
// character talked to in `situation`, from which a goal can still be met,
// leads to `closed`, from which none can.
struct GoalClosure {
    uint32_t situation;
    uint32_t closed;
    uint16_t unit;
};

struct GoalJudgement {
    // A goal can be met from the first situation.
    bool reachable = false;
    // Each closing unit once, by the first situation it closes the way from
    // (breadth first, so the one with the shortest way to it).
    std::vector<GoalClosure> closures;
};

class GoalGraph {
  public:
    // The next situation is stored, meeting a goal or not.
    void addSituation(bool goalMet);
    // The steps that follow are taken in `situation`: situations are
    // expanded in the order they were stored.
    void expand(uint32_t situation);
    // A step of the situation expanded leads to stored situation `to`. A step
    // that leaves the situation as it was tells nothing and is not kept.
    void addStep(uint32_t to, uint16_t unit);

    // Judges a search that saw every situation; `store` is that search's.
    GoalJudgement judge(const SituationStore& store) const;

    // Bytes the steps and the marks take, and what judge() holds besides.
    uint64_t bytes() const;

  private:
    // Each situation that can meet a goal, found backwards from the goals.
    std::vector<bool> canMeetGoal() const;

    std::vector<bool> met;
    // firstStep[s]: the index of the first step of situation s; steps of one
    // situation follow each other. deque: grows by blocks, without a second
    // copy while it grows.
    std::deque<uint32_t> firstStep;
    std::deque<uint32_t> targets;
    // A unit's index is below MAX_UNITS (150): a byte holds it.
    std::deque<uint8_t> units;
};

} // namespace murmex::tool
