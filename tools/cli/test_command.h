// `murmex test`: plays a script along transcript plans and reports every
// expectation the game does not meet.
#pragma once

#include "tools/analysis/unit_coverage.h"
#include "tools/authoring/transcript_plan.h"
#include "tools/cli/command.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct TestOptions {
    std::string script;
    std::vector<std::string> plans;
    // Read the script as it stands instead of descrambled.
    bool plain = false;
    // Rewrite the expectations the script no longer meets instead of
    // reporting them (see test_update.h).
    bool update = false;
    // A translation file: the plans were written for the script it
    // translates, and their texts are read through it.
    std::string translation{};
    // Report which talk units the plans played (see test_coverage.h).
    bool coverage = false;
    // The least share of units played, in percent, that passes; implies
    // coverage.
    std::optional<uint32_t> minCoverage{};
    // One JSON document instead of lines.
    bool json = false;
};

// Plays `plan` on a fresh load of the script, so that no game state leaks from
// one plan into the next. Reports each unmet expectation on `out` as
// "PLAN:LINE: expected ..., got ..." and returns true when there was none.
// Each screen shown and each question chosen is noted in `coverage` if given.
bool runPlan(const TranscriptPlan& plan, const std::string& planPath, const TestOptions& options,
             std::ostream& out, UnitCoverage* coverage = nullptr);

// Reads and parses the plan file, keeping its text; false with the reason
// reported on `out`.
bool readPlan(const std::string& path, std::string& text, TranscriptPlan& plan, std::ostream& out);

// Runs every plan and ends with the line "N passed, M failed" counting plans,
// then the coverage if asked for; or all of it as JSON. EXIT_OK when all
// passed and the coverage met its minimum; EXIT_FAILED when any failed, did
// not parse, the coverage fell short, or the script did not load (its error
// line and lines on `err`).
int runTest(const TestOptions& options, std::ostream& out, std::ostream& err);

// Coverage names the line of each unit never played.
inline constexpr ScriptUse TEST_SCRIPT_USE = ScriptUse::LoadedWithLines;
void addTestOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
