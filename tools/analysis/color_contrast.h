// Warnings for header colours whose derived colours leave the window's texts
// hard to read, by the window's own contrast rule.
#pragma once

#include "murmex/script_model.h"
#include "tools/analysis/finding.h"
#include "tools/script_io/script_places.h"

#include <vector>

namespace murmex::tool {

// Appends a "low-contrast" warning for each text colour that stands too
// close to the line colour it is drawn on.
void lintHeaderColors(const ScriptModel& engine, const ScriptPlaces& lines,
                      std::vector<Finding>& findings);

} // namespace murmex::tool
