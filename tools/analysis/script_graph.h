// A script as a graph: a node for each state of each character, an edge for
// each question. A hand-over leads to the other character's start, the end of
// a conversation to the start of "Intro", as in the player.
#pragma once

#include "murmex/script_model.h"

#include <ostream>
#include <string>

namespace murmex::tool {

enum class GraphFormat {
    Dot,     // Graphviz
    Mermaid, // flowchart for Markdown pages
};

// Writes the graph of every character, or with `onlyCharacter` set, of the
// first character of that name (the starts it leads to stand as plain nodes).
// False, writing nothing, when no character has that name.
bool writeGraph(std::ostream& out, const ScriptModel& engine, GraphFormat format,
                const std::string& onlyCharacter);

// Texts made safe inside a double-quoted label of each format.
std::string dotQuoted(const std::string& text);
std::string mermaidQuoted(const std::string& text);

} // namespace murmex::tool
