// How every command that loads a script reports a failed load: each error as
// the check line (FILE:LINE: error CODE: TEXT), the explanation as a note
// line, and the script's lines around it; the first error as the player
// gives it, the further ones marked as such.
#pragma once

#include "tools/script_io/script_loading.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

namespace murmex::tool {

// Marks an error that the player would only meet once the first is mended.
inline constexpr const char* FURTHER_ERROR_MARK = " (further error)";

void reportLoadFailure(const std::string& path, bool plain, const LoadedScript& loaded,
                       std::ostream& err);

// The errors as a JSON array of {line, code, message, explanation, further}.
nlohmann::ordered_json loadErrorsJson(bool plain, const LoadedScript& loaded);

} // namespace murmex::tool
