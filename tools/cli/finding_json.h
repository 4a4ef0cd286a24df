// A finding of lint or explore as a JSON object, for the --json outputs.
#pragma once

#include "tools/analysis/finding.h"

#include <nlohmann/json.hpp>

namespace murmex::tool {

// {"line", "name", "text"} and "path" for a finding that has one.
nlohmann::ordered_json findingToJson(const Finding& finding);

} // namespace murmex::tool
