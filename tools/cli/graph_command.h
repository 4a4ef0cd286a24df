// `murmex graph`: the conversation graph of a script, for Graphviz or mermaid.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

struct GraphOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // "dot" or "mermaid".
    std::string format = "dot";
    // Only this character's states and questions; empty for all.
    std::string character;
};

// The graph on `out`; a failed load or an unknown character on `err` with
// EXIT_FAILED.
int runGraph(const GraphOptions& options, std::ostream& out, std::ostream& err);

inline constexpr ScriptUse GRAPH_SCRIPT_USE = ScriptUse::Loaded;
void addGraphOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
