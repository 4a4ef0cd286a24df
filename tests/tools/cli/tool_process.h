// Runs the built murmex binary as a user would, through the shell, and
// collects its exit status and what it printed.
#pragma once

#include "support/command_run.h"
#include "support/scratch_folder.h"

#include <cstdlib>
#include <string>

#include <sys/wait.h>

namespace murmex::testing {

// Runs the tool with `arguments` (already quoted for the shell); `prefix`
// goes before it on the command line, for limits or another user. Standard
// output is kept unless `output` redirects it elsewhere (">/dev/full", or
// ">&-" to close it).
inline CommandRun runTool(const ScratchFolder& folder, const std::string& arguments,
                          const std::string& prefix = "", const std::string& output = "") {
    const std::string out = folder.path("stdout");
    const std::string err = folder.path("stderr");
    const std::string command = prefix + "'" + MURMEX_TOOL + "' " + arguments + " " +
                                (output.empty() ? ">'" + out + "'" : output) + " 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
}

} // namespace murmex::testing
