// Which saved games an edit of a script would break. Every screen a player
// can reach in the old script is saved there and restored into the new one,
// with the engine's own saving and restoring; a screen breaks when its save
// is refused, or is taken but shows a unit other than the old unit's
// counterpart in the new script.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/analysis/finding.h"
#include "tools/analysis/script_explorer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

struct CompatReport {
    // One finding for each screen that breaks, by the shortest way to it,
    // with the line of the old script's unit shown (or of its character).
    std::vector<Finding> broken;
    // Distinct screens a save can hold: the character, its state and the
    // unit whose answer is shown.
    uint64_t screens = 0;
    uint64_t situations = 0;
    CutOff cutOff = CutOff::None;
    // A version 1 saved game restores only into the very script it came from.
    bool version1Breaks = false;
};

// Counterparts of the old units in the new script, for each character found
// in both by name and occurrence and each state: first units with the same
// question and answer, then among the rest units of the same shape
// (unitShape) in script order. aligned[c][u] is the new index of old
// character c's unit u, or -1.
std::vector<std::vector<int32_t>> alignUnits(const ScriptModel& oldScript,
                                             const ScriptModel& newScript);

// Explores `oldScript` within the limits (its states and memory are changed)
// and checks each screen against `newScript` (restored into, so changed too).
CompatReport checkSaveCompatibility(ConversationEngine& oldScript, const ScriptPlaces& oldLines,
                                    ConversationEngine& newScript, const ExploreLimits& limits);

// How one saved game fares in a script: whether it resumes, and in words
// the character and answer it resumes at, or why it is refused.
struct SavedGameVerdict {
    bool resumes = false;
    std::string words;
};

// Restores the saved game's bytes into `script` (its states and memory are
// changed) as any game would.
SavedGameVerdict checkSavedGame(ConversationEngine& script, const std::string& bytes);

} // namespace murmex::tool
