// `murmex dump`: the loaded model of one script as JSON.
#pragma once

#include "murmex/script_model.h"
#include "tools/cli/command.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

namespace murmex::tool {

struct DumpOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
};

// The title, colours, pool size and every character with its talk units, keys
// in a fixed order. Texts are decoded for display (UTF-8 or Windows-1252).
nlohmann::ordered_json scriptToJson(const ScriptModel& engine);

// The JSON on `out`, or the check error line on `err` and EXIT_FAILED.
int runDump(const DumpOptions& options, std::ostream& out, std::ostream& err);

inline constexpr ScriptUse DUMP_SCRIPT_USE = ScriptUse::Loaded;
void addDumpOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
