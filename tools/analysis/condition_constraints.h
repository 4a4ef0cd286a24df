// Whether a set of conditions can hold at the same time: each condition
// narrows what one variable may be (absent, or a value in a range with some
// values left out), and the set can hold when every variable keeps a choice.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace murmex::tool {

class ConditionConstraints {
  public:
    // Adds the unit's conditions. False when the conditions gathered so far
    // can no longer hold together; the constraints are then unchanged.
    bool addUnit(const TalkUnit& unit);

  private:
    struct Choice {
        // The variable may be missing from the memory.
        bool mayBeAbsent = true;
        // The variable may exist, with a value in low..high outside `excluded`.
        bool mayBePresent = true;
        int64_t low = INT32_MIN;
        int64_t high = INT32_MAX;
        std::vector<int32_t> excluded;

        void narrow(const Condition& condition);
        bool possible() const;
    };

    // By the name the memory keeps, so names cut to the same bytes are one.
    std::map<std::string, Choice> choices;
};

} // namespace murmex::tool
