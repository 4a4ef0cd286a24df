// Which talk units the screens of some games showed. A unit is played once a
// screen showed it: its question was among the offered ones, or, for an
// opening answer (a unit without a question), its answer was the one shown
// when its character started. A unit whose question was chosen (applied) was
// offered first, so it is played too. Games on any load of the same script
// can be noted together: units are told apart by their indices, never by
// their texts.
#pragma once

#include "murmex/engine/conversation_view.h"
#include "murmex/script_model.h"

#include <cstdint>
#include <vector>

namespace murmex::tool {

// The opening answer (a unit without a question) whose text the view's
// answer is, or -1 when the answer is none of them: the answer of an applied
// question, or none. Every unit's answer is a text of its own in the pool, so
// the pointer tells which unit it is.
int32_t openingAnswerShown(const Character& character, const char* answer);

// The share of `part` in `whole` in whole percent, rounded down so that 100
// means all; 100 when there is nothing to share.
int64_t sharePercent(int64_t part, int64_t whole);

class UnitCoverage {
  public:
    // Every unit of every character of `script` unplayed.
    explicit UnitCoverage(const ScriptModel& script);

    // A screen the player saw: the view of a step that did not fail.
    void noteScreen(const ScriptModel& script, const ConversationView& view);
    // The question of unit `unit` of character `character` was chosen.
    void noteApplied(int32_t character, int32_t unit);

    bool played(int32_t character, int32_t unit) const { return flags[character][unit] != 0; }
    bool applied(int32_t character, int32_t unit) const {
        return (flags[character][unit] & APPLIED) != 0;
    }
    int32_t characters() const { return static_cast<int32_t>(flags.size()); }
    int32_t units(int32_t character) const { return static_cast<int32_t>(flags[character].size()); }
    int32_t playedCount() const { return playedUnits; }
    int32_t appliedCount() const { return appliedUnits; }
    int32_t total() const { return totalUnits; }

  private:
    static constexpr uint8_t SHOWN = 1;
    static constexpr uint8_t APPLIED = 2;

    void mark(int32_t character, int32_t unit, uint8_t flag);

    // flags[c][u]: SHOWN and APPLIED as they happened.
    std::vector<std::vector<uint8_t>> flags;
    int32_t playedUnits = 0;
    int32_t appliedUnits = 0;
    int32_t totalUnits = 0;
};

} // namespace murmex::tool
