// `murmex test --coverage`: which talk units of the script the plans played
// (see unit_coverage.h for what counts), the share, and each unit never
// played as a finding at its line; and the gate --min-coverage sets.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/analysis/unit_coverage.h"
#include "tools/script_io/script_places.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace murmex::tool {

// What the report covers: the script as `murmex test` loaded it with its
// lines, and the units the plans played on it.
struct CoverageReport {
    const std::string& script;
    const ConversationEngine& engine;
    const ScriptPlaces& lines;
    const UnitCoverage& coverage;
    // The least share in percent that passes; none when only reported.
    std::optional<uint32_t> minimum;
};

// True unless the share of units played is below the minimum.
bool coverageMet(const CoverageReport& report);

// A warning line for each unit never played ("unit-never-played"), then
// "SCRIPT: P of T talk units played (S%), A of them applied", and a line
// saying so when the share is below the minimum.
void printCoverage(const CoverageReport& report, std::ostream& out);

// The same as JSON: the counts, the share, every unit with its character,
// state, line and whether it was shown and applied, the units never played
// as findings, and the minimum with whether it was met.
nlohmann::ordered_json coverageJson(const CoverageReport& report);

} // namespace murmex::tool
