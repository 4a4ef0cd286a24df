// The header the loader's test scripts start with; what follows it starts on
// line 5.
#pragma once

#include "support/script_text.h"

#include <string>

namespace murmex::testing {

// The text colour's keyword shortened to the one letter the loader reads.
inline const ScriptHeader MILL_HEADER = {"The Old Mill", {0, 0, 96}, {255, 255, 200}, "T"};

inline const std::string HEADER = scriptHeader(MILL_HEADER);

} // namespace murmex::testing
