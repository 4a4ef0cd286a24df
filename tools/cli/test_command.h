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
};

// Plays `plan` on a fresh load of the script, so that no game state leaks from
// one plan into the next. Reports each unmet expectation on `out` as
// "PLAN:LINE: expected ..., got ..." and returns true when there was none.
bool runPlan(const TranscriptPlan& plan, const std::string& planPath, const TestOptions& options,
             std::ostream& out);

// Runs every plan and ends with the line "N passed, M failed" counting plans.
// EXIT_OK when all passed; EXIT_FAILED when any failed, did not parse, or the
// script did not load (its error line and lines on `err`).
int runTest(const TestOptions& options, std::ostream& out, std::ostream& err);

CLI::App* addTestCommand(CLI::App& app, ChosenCommand& chosen);

} // namespace murmex::tool
