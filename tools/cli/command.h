// What every murmex command shares: its exit statuses, the script it works
// on, and the way it joins the tool's command line. A command lives in a file
// of its own and offers
//   - a run function that takes its options and output streams and returns
//     the exit status, for tests and other tools to call, and
//   - an add function of type AddCommand that registers it with the tool.
// The driver (main.cpp) holds the table of commands: for those that work on
// one script it loads the script once, with the one error path below, and
// hands the loaded script to the command.
#pragma once

#include "tools/script_io/exit_status.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_places.h"

#include <functional>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace murmex::tool {

// What a command needs loaded before it runs.
enum class ScriptUse {
    None,            // it reads its files itself (several scripts, plans, raw bytes)
    Loaded,          // one script, loaded as the player loads it
    LoadedWithLines, // the same, with the line of every character and talk unit
};

// The script a command works on, as its command line names it.
struct ScriptArguments {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
};

// A command's work on a script that loaded. The lines are filled only for
// ScriptUse::LoadedWithLines.
using ScriptWork = std::function<int(const LoadedScript& loaded, const ScriptPlaces& lines,
                                     std::ostream& out, std::ostream& err)>;

// Loads the script, then does the work. A failed load is reported on `err`
// as the check line (FILE:LINE: error CODE: TEXT) and gives EXIT_FAILED.
int runOnScript(const ScriptArguments& script, ScriptUse use, std::ostream& out, std::ostream& err,
                const ScriptWork& work);

// What the command line chose, filled in by the chosen command while the
// line is parsed: the script and the work for a command that uses one,
// otherwise the whole run.
struct ChosenCommand {
    ScriptArguments script;
    ScriptWork work;
    std::function<int(std::ostream& out, std::ostream& err)> run;
};

// Adds one command to the tool and returns it.
using AddCommand = CLI::App* (*)(CLI::App& app, ChosenCommand& chosen);

} // namespace murmex::tool
