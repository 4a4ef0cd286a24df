// `murmex graph`: loads a script and writes its graph.
#include "tools/cli/graph_command.h"

#include "tools/analysis/script_graph.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

int graphLoaded(const GraphOptions& options, const LoadedScript& loaded, std::ostream& out,
                std::ostream& err) {
    const GraphFormat format =
        options.format == "mermaid" ? GraphFormat::Mermaid : GraphFormat::Dot;
    if (!writeGraph(out, *loaded.engine, format, options.character)) {
        err << options.file << ": error: no character is named \"" << options.character << "\"\n";
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

ScriptWork graphWork(std::shared_ptr<const GraphOptions> options) {
    return [options](const LoadedScript& loaded, const ScriptPlaces&, std::ostream& out,
                     std::ostream& err) { return graphLoaded(*options, loaded, out, err); };
}

} // namespace

int runGraph(const GraphOptions& options, std::ostream& out, std::ostream& err) {
    return runOnScript({options.file, options.plain}, GRAPH_SCRIPT_USE, out, err,
                       graphWork(std::make_shared<const GraphOptions>(options)));
}

void addGraphOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<GraphOptions>();
    command.add_option("--format", options->format, "Output format")
        ->check(CLI::IsMember({"dot", "mermaid"}))
        ->capture_default_str();
    command.add_option("--character", options->character, "Show only this character");
    command.callback([options, &shared, &chosen] {
        options->file = shared.file;
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        chosen.work = graphWork(options);
    });
}

} // namespace murmex::tool
