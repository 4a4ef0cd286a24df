// The one way a command gets its script: loaded once, or reported once.
#include "tools/cli/command.h"
#include "tools/script_io/load_failure_report.h"

#include <memory>

namespace murmex::tool {

int runOnScript(const ScriptArguments& script, ScriptUse use, std::ostream& out, std::ostream& err,
                const ScriptWork& work, const LoadFailure& failed) {
    auto lines = std::make_unique<ScriptPlaces>();
    ScriptPlaces* noted = use == ScriptUse::LoadedWithLines ? lines.get() : nullptr;
    LoadedScript loaded = loadScript(script.file, script.plain, noted);
    if (!loaded.ok() && failed) {
        return failed(loaded, out, err);
    }
    if (!loaded.ok()) {
        reportLoadFailure(script.file, script.plain, loaded, err);
        return EXIT_FAILED;
    }
    return work(loaded, *lines, out, err);
}

} // namespace murmex::tool
