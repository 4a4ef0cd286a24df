// Every error of a script that does not load, in one run: the loader's own
// error first, exactly as the player reports it, then the further errors an
// analysis that reads on past it can be sure of. The player stops at the
// first error, so an author who fixes one at a time needs a run per error;
// with this, one run shows them all.
#pragma once

#include "murmex/load_result.h"
#include "tools/script_io/script_loading.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

struct ScriptError {
    // The loader's result code, line and text, as check prints them.
    int32_t code = 0;
    int32_t line = 0;
    std::string message;
    LoadDetail detail;
    // The cause in the author's words, with the fix where one is clear;
    // empty when the message says all there is.
    std::string explanation;
    // Found after the first error: the player never gets this far.
    bool further = false;
};

// The line the author must mend for `error`: the loader's own, but line 1
// for a first line without its carriage return, which the loader reads on
// past, counting the line feeds, until it has read as much as the magic
// line may hold.
int32_t faultLine(const ScriptError& error);

// Further errors reported at most; a file of noise would have one per line.
constexpr size_t FURTHER_ERRORS_LIMIT = 100;

struct ScriptErrors {
    std::vector<ScriptError> errors;
    // The script's bytes as the loader reads them (descrambled), for
    // showing the lines around each error. Empty when they can't be had.
    std::string text;
    // More further errors were found than are listed.
    bool cut = false;
};

// The errors of a script whose load failed. The first is `loaded`'s own; the
// others come from the loader's recovering scan of the whole script, which
// also finds the values that a load converts only after the whole script has
// read well, before the first error too. An error that only follows from an
// earlier one is never listed: after each error the scan resumes at the next
// line that opens a talk unit or a character block. Found once: every later
// call, for the text and the JSON of one failure, gives the same list.
const ScriptErrors& findScriptErrors(bool plain, const LoadedScript& loaded);

// The same for a script's text in memory, as the loader reads it, whose
// load failed with `first` (its explanation is filled in here).
ScriptErrors findScriptErrorsIn(std::string text, ScriptError first);

} // namespace murmex::tool
