// `murmex test`: plays a script along transcript plans and reports every
// expectation the game does not meet.
#pragma once

#include "tools/authoring/transcript_plan.h"
#include "tools/cli/command.h"

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
};

// Plays `plan` on a fresh load of the script, so that no game state leaks from
// one plan into the next. Reports each unmet expectation on `out` as
// "PLAN:LINE: expected ..., got ..." and returns true when there was none.
bool runPlan(const TranscriptPlan& plan, const std::string& planPath, const TestOptions& options,
             std::ostream& out);

// Reads and parses the plan file, keeping its text; false with the reason
// reported on `out`.
bool readPlan(const std::string& path, std::string& text, TranscriptPlan& plan, std::ostream& out);

// Runs every plan and ends with the line "N passed, M failed" counting plans.
// EXIT_OK when all passed; EXIT_FAILED when any failed, did not parse, or the
// script did not load (its error line and lines on `err`).
int runTest(const TestOptions& options, std::ostream& out, std::ostream& err);

CLI::App* addTestCommand(CLI::App& app, ChosenCommand& chosen);

} // namespace murmex::tool
