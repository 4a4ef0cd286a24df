// JSON for the --json outputs: a finding of lint or explore as an object, and
// the one way every command prints a JSON document.
#pragma once

#include "tools/analysis/finding.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace murmex::tool {

// {"line", "name", "text"} and "path" for a finding that has one.
nlohmann::ordered_json findingToJson(const Finding& finding);

// The document on `out`, indented by two spaces and ended by a line feed.
// File names need not be UTF-8; a byte that is not becomes U+FFFD, so that a
// stray byte never stops the report.
void printJson(std::ostream& out, const nlohmann::ordered_json& json);

} // namespace murmex::tool
