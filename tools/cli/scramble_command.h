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
    // Replace an existing output (or one that appears while the command
    // runs), and skip the test of the input's first line.
    bool force = false;
    // Give each line feed that lacks one a carriage return before it, for
    // scripts saved with line feeds alone.
    bool crlf = false;
};

// Streams the input, which must be a regular file, block by block into the
// output, never touching the input and never leaving a partial output (not
// even when a signal ends the run). Without `force` an output that exists, or
// appears meanwhile, is kept. EXIT_OK, or EXIT_FAILED with one line on `err`.
int runScramble(ScrambleDirection direction, const ScrambleOptions& options, std::ostream& err);

void addScrambleOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);
void addUnscrambleOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
