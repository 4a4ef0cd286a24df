// Why a script did not load, in the words of the author who wrote it: the
// loader's fixed messages say what it expected, which is often far from the
// mistake that made it expect it. The explanation names the mistake, where
// the text shows it, and the fix.
#pragma once

#include "murmex/load_result.h"

#include <cstdint>
#include <string>

namespace murmex::tool {

// `text` is the script as the loader read it (descrambled), or empty when it
// can't be had; `line`, `message` and `detail` are the failed load's. Empty
// when the message says all there is.
std::string explainLoadError(const std::string& text, int32_t line, const std::string& message,
                             const LoadDetail& detail);

} // namespace murmex::tool
