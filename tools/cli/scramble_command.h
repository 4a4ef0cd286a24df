// `murmex scramble` and `murmex unscramble`: turn a plain script into the
// scrambled form the player reads by default, and back.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

enum class ScrambleDirection {
    Scramble,   // plain in, scrambled out
    Unscramble, // scrambled in, plain out
};

struct ScrambleOptions {
    std::string input;
    std::string output;
    // Replace an existing output, and skip the test of the input's first line.
    bool force = false;
};

// Writes the transformed input to the output, never touching the input and
// never leaving a partial output. EXIT_OK, or EXIT_FAILED with one line on `err`.
int runScramble(ScrambleDirection direction, const ScrambleOptions& options, std::ostream& err);

CLI::App* addScrambleCommand(CLI::App& app, ChosenCommand& chosen);
CLI::App* addUnscrambleCommand(CLI::App& app, ChosenCommand& chosen);

} // namespace murmex::tool
