// Loads a script exactly as the player does and words a failed load as one
// line that editors and build logs recognise: FILE:LINE: error CODE: TEXT.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_places.h"

#include <cstdint>
#include <memory>
#include <string>

namespace murmex::tool {

struct ScriptErrors;

struct LoadedScript {
    // Holds whatever the load created, also after a failure.
    std::unique_ptr<ConversationEngine> engine;
    // The loader's result: 0 or more on success, a LOAD_ code otherwise.
    int32_t code = 0;
    // The line the loader reached, and its fixed message (never freed; may
    // be empty), as the load returned them.
    int32_t line = 0;
    const char* message = "";
    // Why a failed load failed, in the loader's own terms.
    LoadDetail detail;
    // The script's bytes, still open, for showing where a load failed.
    std::unique_ptr<ScriptInput> input;
    // The script's bytes as its source holds them (scrambled unless plain),
    // kept as the load read them; empty when they could not be had whole.
    std::string bytes;
    // Read without descrambling.
    bool plain = false;
    // Found on the first ask, so that every report of one failure shares
    // one reading of the script.
    mutable std::shared_ptr<const std::string> readText;
    mutable std::shared_ptr<const ScriptErrors> errors;

    bool ok() const { return code >= 0; }
};

// The script's text as the loader read it (descrambled unless plain), from
// the bytes the load kept; empty when they could not be had.
const std::string& scriptText(const LoadedScript& loaded);

// The bytes through the scramble transform: a plain text's scrambled form,
// or a scrambled text's plain one.
std::string scrambleText(const std::string& bytes);

// Loads `path` ("-" for standard input), descrambled unless `plain`. With
// `places` given, where every character and talk unit stands is noted there.
LoadedScript loadScript(const std::string& path, bool plain, ScriptPlaces* places = nullptr);

// The same for a script already in memory, such as an editor's text or a part
// of a script; the result has no input to show lines from.
LoadedScript loadScriptText(const std::string& bytes, bool plain, ScriptPlaces* places = nullptr);

// What went wrong in a failed load: the engine's message, or a description in
// square brackets where the loader leaves the message empty.
std::string loadErrorText(bool plain, const LoadedScript& loaded);

// The failure of a load as "FILE:LINE: error CODE: TEXT", without a line end,
// TEXT being loadErrorText.
std::string loadErrorLine(const std::string& path, bool plain, const LoadedScript& loaded);

// True when the script's first line is the magic read the other way round
// than `plain` says: scrambled read as plain, or the reverse.
bool firstLineReadsTheOtherWay(bool plain, const LoadedScript& loaded);

// Talk units of all loaded characters.
int32_t totalUnits(const ScriptModel& engine);

} // namespace murmex::tool
