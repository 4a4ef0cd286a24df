// `murmex compat`: which saved games an edit of a script would break. It
// plays every way through the old script, as explore does, saves each screen
// and restores it into the new script, and reports each screen whose save
// would be refused or would show another unit, with the shortest way there.
#pragma once

#include "tools/analysis/script_explorer.h"
#include "tools/cli/command.h"
#include "tools/script_io/script_reading.h"

#include <ostream>
#include <string>

namespace murmex::tool {

struct CompatOptions {
    std::string oldFile;
    std::string newFile;
    // Read both files as they stand instead of descrambled.
    bool plain = false;
    bool json = false;
    ExploreLimits limits;
    // A folder of saved games to restore into the new script, each one
    // reported; empty for none.
    std::string savesFolder;
    // Read each file as its first line says unless `plain`.
    bool guess = false;
};

// The search was cut off before every screen was seen, and none of those
// seen would break: whether some save breaks can't be told.
inline constexpr int EXIT_COMPAT_UNDECIDED = 3;

// Findings in the lint line format and a summary line on `out` (or JSON).
// EXIT_OK when no save would break, EXIT_FAILED when some would or a saved
// game of the folder is refused (or a script did not load, on `err`),
// EXIT_COMPAT_UNDECIDED when the search was cut off first.
int runCompat(const CompatOptions& options, std::ostream& out, std::ostream& err);

void addCompatOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
