// Static checks of a loaded script: everything that can be seen without
// playing it that makes the player stop, hides a question or a talk unit, or
// makes two names one.
#pragma once

#include "murmex/script_model.h"
#include "tools/analysis/finding.h"
#include "tools/script_io/script_places.h"

#include <vector>

namespace murmex::tool {

// Warnings in no particular order; `lines` gives each its line.
std::vector<Finding> lintScript(const ScriptModel& engine, const ScriptPlaces& lines);

// lintScript in two parts, for a caller that keeps what it found and checks
// again only what changed: the warnings about characters[c] alone (its
// start, its units, its states and its mnemonics), and those that weigh the
// characters against each other, the variables and the header. lintScript
// gives the second and the first for every character. lintAcross reads no
// question and no answer: a caller may keep what it found while only those
// change.
void lintCharacter(const ScriptModel& engine, const ScriptPlaces& lines, int32_t c,
                   std::vector<Finding>& findings);
void lintAcross(const ScriptModel& engine, const ScriptPlaces& lines,
                std::vector<Finding>& findings);

} // namespace murmex::tool
