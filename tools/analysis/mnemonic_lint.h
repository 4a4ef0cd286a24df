// Checks of the keyboard mnemonics in a script's shown texts: an '&' that
// marks a blank or nothing a key can choose, and two questions offered on one
// screen that share a mnemonic, so that the key only ever chooses the first.
#pragma once

#include "murmex/script_model.h"
#include "tools/analysis/finding.h"
#include "tools/script_io/script_places.h"

#include <vector>

namespace murmex::tool {

// Appends the warnings "stray-ampersand" and "shared-mnemonic", of
// characters[only] alone unless it is -1.
void lintMnemonics(const ScriptModel& engine, const ScriptPlaces& lines,
                   std::vector<Finding>& findings, int32_t only = -1);

} // namespace murmex::tool
