// Writing an output file so that it either appears whole or not at all.
#pragma once

#include <string>

namespace murmex::tool {

// Writes `bytes` to a temporary file in the folder of `path` and renames it
// to `path`, replacing an existing file only when `replace` is set. On any
// failure nothing is left behind, and `error` says what went wrong.
bool writeFileWhole(const std::string& path, const std::string& bytes, bool replace,
                    std::string& error);

} // namespace murmex::tool
