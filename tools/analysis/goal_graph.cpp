// The steps kept in the order the search takes them, and the goals' reach
// found backwards over them: every step turned round once, then a breadth
// first walk from the situations that meet a goal.
#include "tools/analysis/goal_graph.h"

#include "tools/analysis/memory_weight.h"
#include "tools/analysis/situation_store.h"

namespace murmex::tool {

namespace {

// A closing unit's key: its character and its index, each below 256.
constexpr size_t UNIT_KEYS = size_t{1} << 16;

} // namespace

void GoalGraph::addSituation(bool goalMet) {
    met.push_back(goalMet);
}

void GoalGraph::expand(uint32_t situation) {
    while (firstStep.size() <= situation) {
        firstStep.push_back(static_cast<uint32_t>(targets.size()));
    }
}

void GoalGraph::addStep(uint32_t to, uint16_t unit) {
    if (to + size_t{1} == firstStep.size()) {
        return;
    }
    targets.push_back(to);
    units.push_back(static_cast<uint8_t>(unit));
}

std::vector<bool> GoalGraph::canMeetGoal() const {
    const size_t count = met.size();
    const size_t expanded = firstStep.size();
    // sourcesFrom[t] counts the steps into t, then, summed up, ends t's run
    // of sources; placing each source moves it back to the run's start.
    std::vector<uint32_t> sourcesFrom(count + 1, 0);
    for (const uint32_t to : targets) {
        ++sourcesFrom[to];
    }
    for (size_t s = 1; s <= count; ++s) {
        sourcesFrom[s] += sourcesFrom[s - 1];
    }
    std::vector<uint32_t> sources(targets.size());
    for (size_t s = 0; s < expanded; ++s) {
        const size_t end = s + 1 < expanded ? firstStep[s + 1] : targets.size();
        for (size_t step = firstStep[s]; step < end; ++step) {
            sources[--sourcesFrom[targets[step]]] = static_cast<uint32_t>(s);
        }
    }
    std::vector<bool> reach(met);
    std::vector<uint32_t> queue;
    for (size_t s = 0; s < count; ++s) {
        if (met[s]) {
            queue.push_back(static_cast<uint32_t>(s));
        }
    }
    for (size_t next = 0; next < queue.size(); ++next) {
        const uint32_t to = queue[next];
        for (uint32_t at = sourcesFrom[to]; at < sourcesFrom[to + 1]; ++at) {
            if (!reach[sources[at]]) {
                reach[sources[at]] = true;
                queue.push_back(sources[at]);
            }
        }
    }
    return reach;
}

GoalJudgement GoalGraph::judge(const SituationStore& store) const {
    GoalJudgement judgement;
    if (met.empty()) {
        return judgement;
    }
    const std::vector<bool> reach = canMeetGoal();
    judgement.reachable = reach[0];
    std::vector<bool> seen(UNIT_KEYS, false);
    const size_t expanded = firstStep.size();
    for (size_t s = 0; s < expanded; ++s) {
        if (!reach[s]) {
            continue;
        }
        const size_t end = s + 1 < expanded ? firstStep[s + 1] : targets.size();
        for (size_t step = firstStep[s]; step < end; ++step) {
            const size_t key =
                (size_t{store.record(static_cast<uint32_t>(s)).character} << 8) | units[step];
            if (reach[targets[step]] || seen[key]) {
                continue;
            }
            seen[key] = true;
            judgement.closures.push_back(
                GoalClosure{static_cast<uint32_t>(s), targets[step], units[step]});
        }
    }
    return judgement;
}

uint64_t GoalGraph::bytes() const {
    const uint64_t count = met.size();
    const uint64_t steps = targets.size();
    // judge() turns the steps round: a run start for each situation, a
    // source for each step, and a queue of situations.
    constexpr uint64_t INDEX = sizeof(uint32_t);
    const uint64_t judging = (count + 1) * INDEX + steps * INDEX + count * INDEX + count / 8;
    return grownTableBytes(met.capacity() / 8) + dequeBytes(firstStep.size(), INDEX) +
           dequeBytes(steps, INDEX) + dequeBytes(steps, sizeof(uint8_t)) + judging;
}

} // namespace murmex::tool
