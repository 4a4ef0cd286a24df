// `murmex graph`: loads a script and writes its graph.
#include "tools/cli/graph_command.h"

#include "tools/analysis/script_graph.h"
#include "tools/analysis/script_loading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

int runGraph(const GraphOptions& options, std::ostream& out, std::ostream& err) {
    const LoadedScript loaded = loadScript(options.file, options.plain);
    if (!loaded.ok()) {
        err << loadErrorLine(options.file, options.plain, loaded) << '\n';
        return EXIT_FAILED;
    }
    const GraphFormat format =
        options.format == "mermaid" ? GraphFormat::Mermaid : GraphFormat::Dot;
    if (!writeGraph(out, *loaded.engine, format, options.character)) {
        err << options.file << ": error: no character is named \"" << options.character << "\"\n";
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

void addGraphCommand(CLI::App& app, int& exitStatus) {
    auto options = std::make_shared<GraphOptions>();
    CLI::App* command = app.add_subcommand(
        "graph", "Print the conversation graph: a node per character state, an edge per question");
    command->add_flag("--plain", options->plain, "Read the file as plain text, not descrambled");
    command->add_option("--format", options->format, "Output format")
        ->check(CLI::IsMember({"dot", "mermaid"}))
        ->capture_default_str();
    command->add_option("--character", options->character, "Show only this character");
    command->add_option("FILE", options->file, "Script file to draw")->required();
    command->callback(
        [options, &exitStatus] { exitStatus = runGraph(*options, std::cout, std::cerr); });
}

} // namespace murmex::tool
