// A goal the explorer judges a script by: a condition on the memory in the
// script's own form ("lit == 1", "letter not"), or "character NAME", met
// where that character is talked to. A situation from which no play meets
// any goal any more is one the player can no longer win from.
#pragma once

#include "murmex/engine/conversation_engine.h"
#include "murmex/script_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

struct Goal {
    // As the author wrote it, for the words of a finding.
    std::string text;
    bool isCharacter = false;
    // The variable tested, or the character's name.
    std::string name;
    ConditionOp op = OP_EQUAL;
    int32_t value = 0;
    // The character's index in the loaded script, once resolved.
    int32_t character = -1;
};

// The forms a goal takes, as help and errors say them.
inline constexpr const char* GOAL_FORMS =
    "ID OP VAL (such as \"lit == 1\"), ID not, or character NAME";

// Reads a goal's text; false with the reason in `error` when it is none. A
// text that reads as a condition is one; otherwise "character NAME" names a
// character.
bool readGoal(const std::string& text, Goal& goal, std::string& error);

// Finds each character goal's character in the script; false with the
// reason when one is not there.
bool resolveGoals(std::vector<Goal>& goals, const ConversationEngine& engine, std::string& error);

// True when a goal holds with this memory while `character` is talked to.
bool anyGoalMet(const std::vector<Goal>& goals, const MemoryStore& memory, int32_t character);

// The goals' texts, "lit == 1 or character Mara".
std::string goalsText(const std::vector<Goal>& goals);

} // namespace murmex::tool
