// Narrowing variables condition by condition and testing what is left.
#include "tools/analysis/condition_constraints.h"

#include "tools/analysis/unit_text.h"

#include <algorithm>

namespace murmex::tool {

void ConditionConstraints::Choice::narrow(const Condition& condition) {
    const int64_t value = condition.value;
    switch (condition.op) {
    case OP_EQUAL:
        mayBeAbsent = false;
        low = std::max(low, value);
        high = std::min(high, value);
        break;
    case OP_NOT_EQUAL:
        // A missing variable satisfies !=, so absence stays possible.
        excluded.push_back(condition.value);
        break;
    case OP_LESS:
        mayBeAbsent = false;
        high = std::min(high, value - 1);
        break;
    case OP_GREATER:
        mayBeAbsent = false;
        low = std::max(low, value + 1);
        break;
    case OP_NOT:
        mayBePresent = false;
        break;
    default:
        // An unknown operator holds nowhere.
        mayBeAbsent = false;
        mayBePresent = false;
        break;
    }
}

bool ConditionConstraints::Choice::possible() const {
    if (mayBeAbsent) {
        return true;
    }
    if (!mayBePresent || low > high) {
        return false;
    }
    std::vector<int32_t> inside;
    for (const int32_t value : excluded) {
        if (value >= low && value <= high) {
            inside.push_back(value);
        }
    }
    std::sort(inside.begin(), inside.end());
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    return static_cast<int64_t>(inside.size()) < high - low + 1;
}

bool ConditionConstraints::addUnit(const TalkUnit& unit) {
    std::map<std::string, Choice> narrowed = choices;
    for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
        Choice& choice = narrowed[storedName(unit.conditions[i].variable)];
        choice.narrow(unit.conditions[i]);
        if (!choice.possible()) {
            return false;
        }
    }
    choices = std::move(narrowed);
    return true;
}

} // namespace murmex::tool
