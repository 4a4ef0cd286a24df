// Static checks of a loaded script: everything that can be seen without
// playing it that makes the player stop, hides a question or a talk unit, or
// makes two names one.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/script_lines.h"
#include "tools/analysis/finding.h"

#include <vector>

namespace murmex::tool {

// Warnings in no particular order; `lines` gives each its line.
std::vector<Finding> lintScript(const ConversationEngine& engine, const ScriptLines& lines);

} // namespace murmex::tool
