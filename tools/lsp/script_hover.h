// Hover texts: a talk unit in words, where a variable is set and tested,
// and a character's unit count and who hands over to it.
#pragma once

#include "tools/lsp/script_index.h"
#include "tools/lsp/script_names.h"
#include "tools/lsp/text_positions.h"

#include <string>

namespace murmex::lsp {

// Markdown for the place, or empty when there is nothing to say.
std::string hoverAt(const ScriptIndex& index, const std::vector<NameOccurrence>& names,
                    const TextPositions& positions, size_t offset);

} // namespace murmex::lsp
