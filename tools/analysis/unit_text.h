// Short wordings of a script's parts for graphs and findings: a talk unit's
// conditions and action in a line, texts cut to a length, and the name under
// which the memory store keeps a variable.
#pragma once

#include "murmex/script_model.h"

#include <cstddef>
#include <string>

namespace murmex::tool {

// The text decoded for display and cut to at most `maxCharacters` characters
// (code points), ending in "..." when it was cut.
std::string shortText(const char* bytes, size_t maxCharacters);

// 'question "Who are you?" of "Intro" (state 0)', or 'initial answer "..."'
// for a unit without a question, its texts cut to `maxCharacters`.
std::string unitDescription(const Character& character, const TalkUnit& unit, size_t maxCharacters);

// "letter == 1", "paid not": one condition as a script would read.
std::string conditionText(const Condition& condition);

// "letter == 1, paid not"; empty for a unit without conditions.
std::string conditionsText(const TalkUnit& unit);

// "set letter = 1", "remove letter", "money + 5", "switch to Smith"; empty for
// ACT_NONE.
std::string actionText(const TalkUnit& unit);

// What choosing the unit's question leads to: "goes to state 2", "ends the
// conversation (-1)", "hands the conversation over to Smith", "stops the
// game as after a failure (-99)"; empty for an opening answer.
std::string effectText(const TalkUnit& unit);

// The name as the memory store keeps it: cut to MAX_NAME_LENGTH bytes. Two
// names with the same stored name are one variable.
std::string storedName(const char* name);

// True when the name holds a byte above 127, which reads differently in the
// code pages editors save in.
bool hasHighBytes(const char* name);

} // namespace murmex::tool
