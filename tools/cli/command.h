// What every murmex command shares: its exit statuses, the script it works
// on, and the way it joins the tool's command line. A command lives in a file
// of its own and offers
//   - a run function that takes its options and output streams and returns
//     the exit status, for tests and other tools to call, and
//   - an options function of type AddOptions that adds the options of its
//     own to its command and says, once the line is parsed, what it runs.
// Its row in the command table (command_table.h) names it and says which of
// the shared options it takes; the driver adds those, loads the script of a
// command that works on one once, with the one error path below, and hands
// the loaded script to the command.
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

// The options commands share, as the command line gave them: the script a
// command works on, how to read it, and whether to answer in JSON. A command
// takes those its row names.
struct ScriptArguments {
    std::string file;
    // Read the file as it stands, or descrambled; with neither, as its
    // first line says (script_reading.h).
    bool plain = false;
    bool scrambled = false;
    // One JSON document instead of lines.
    bool json = false;
};

// A command's work on a script that loaded. The lines are filled only for
// ScriptUse::LoadedWithLines. The script is the command's to keep: a game
// may be played on it.
using ScriptWork = std::function<int(LoadedScript& loaded, const ScriptPlaces& lines,
                                     std::ostream& out, std::ostream& err)>;

// How a command tells of a script that did not load, and the status it then
// exits with. Most leave it empty for the one error path: the check line
// (FILE:LINE: error CODE: TEXT) with the script's lines around the error,
// and EXIT_FAILED.
using LoadFailure =
    std::function<int(const LoadedScript& loaded, std::ostream& out, std::ostream& err)>;

// Loads the script, then does the work, or tells of the failed load.
int runOnScript(const ScriptArguments& script, ScriptUse use, std::ostream& out, std::ostream& err,
                const ScriptWork& work, const LoadFailure& failed = {});

// What the command line chose, filled in by the chosen command while the
// line is parsed: the work (and how a failed load is told) for a command
// that uses one script, otherwise the whole run.
struct ChosenCommand {
    ScriptWork work;
    LoadFailure failed;
    std::function<int(std::ostream& out, std::ostream& err)> run;
};

// Adds a command's own options to it. `shared` holds the shared options the
// driver added, filled in by the time the command's callback runs.
using AddOptions = void (*)(CLI::App& command, const ScriptArguments& shared,
                            ChosenCommand& chosen);

} // namespace murmex::tool
