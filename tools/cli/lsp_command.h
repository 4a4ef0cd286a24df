// `murmex lsp`: the language server for editors, on standard input and output.
#pragma once

#include "tools/cli/command.h"

#include <istream>
#include <ostream>

namespace murmex::tool {

// Serves until the editor says exit: EXIT_OK after shutdown, EXIT_FAILED
// when the editor left without it.
int runLsp(std::istream& in, std::ostream& out);

void addLspOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
