// `murmex lsp`: hands standard input and output to the language server.
#include "tools/cli/lsp_command.h"

#include "tools/lsp/language_server.h"

#include <CLI/CLI.hpp>

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace murmex::tool {

int runLsp(std::istream& in, std::ostream& out) {
    lsp::LanguageServer server(out);
    return server.serve(in) == 0 ? EXIT_OK : EXIT_FAILED;
}

void addLspOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    command.callback([&chosen] {
        chosen.run = [](std::ostream& out, std::ostream&) {
            // The protocol's bytes pass untouched: no line-end translation.
            std::ios::sync_with_stdio(false);
#ifdef _WIN32
            // Content-Length counts bytes, so Windows must not add carriage
            // returns on the way out either.
            ::_setmode(1, O_BINARY);
#endif
            return runLsp(std::cin, out);
        };
    });
}

} // namespace murmex::tool
