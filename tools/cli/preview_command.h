// `murmex preview`: the live playtest window. The window needs Qt, which the
// tool itself never loads, so the command runs the murmex-preview program
// installed beside it, with the options that program defines.
#pragma once

#include "tools/cli/command.h"
#include "tools/preview/preview_options.h"

#include <ostream>

namespace murmex::tool {

// Replaces the tool by the preview program; returns only when that fails,
// with the reason on `err` and EXIT_FAILED.
int runPreview(const PreviewOptions& options, std::ostream& err);

void addPreviewCommandOptions(CLI::App& command, const ScriptArguments& shared,
                              ChosenCommand& chosen);

} // namespace murmex::tool
