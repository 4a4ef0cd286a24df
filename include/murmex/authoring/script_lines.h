// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// Where each character and talk unit of a loaded script stands in its file,
// for tools that point an author at a line. The engine never needs this, so it
// lives beside the loaded model: a caller that wants it hands the engine a
// table before loading, and the filling pass writes into it.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>

namespace murmex {

struct ScriptLines {
    // characterLines[c]: 1-based line of the name of characters[c].
    int32_t characterLines[MAX_CHARACTERS] = {};
    // unitLines[c][u]: 1-based line of the '{' that opens units[u] of characters[c].
    int32_t unitLines[MAX_CHARACTERS][MAX_UNITS] = {};
    // 1-based lines on which the header's colour and text colour end.
    int32_t colorLine = 0;
    int32_t textColorLine = 0;
};

} // namespace murmex
