// `murmex test --update`: plans brought up to date with an edited script.
// Each plan is played by its choices; the expectations the script no longer
// meets are rewritten with what it shows now, and the changes are printed as
// a diff. A plan whose choices cannot be followed any more is reported at
// the line where it stopped and left as it was.
#pragma once

#include "tools/cli/test_command.h"

#include <ostream>

namespace murmex::tool {

// Ends with "N up to date, M updated, K not updated". EXIT_OK when every plan
// was up to date or has been rewritten; EXIT_FAILED when any was left alone.
int runUpdate(const TestOptions& options, std::ostream& out, std::ostream& err);

} // namespace murmex::tool
