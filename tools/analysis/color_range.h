// Warnings for header colour components written outside 0 to 255: the window
// takes another number for them, and nothing else tells the author so.
#pragma once

#include "tools/analysis/finding.h"
#include "tools/script_io/script_places.h"

#include <vector>

namespace murmex::tool {

// Appends a "color-out-of-range" warning for each such component, naming the
// number written and the one the window takes, on the component's line.
void lintColorRange(const ScriptPlaces& lines, std::vector<Finding>& findings);

} // namespace murmex::tool
