// Whether a character or variable may take a new name: one that can stand
// in quotes, fits, and belongs to nothing else of its kind.
#pragma once

#include "tools/lsp/open_document.h"

#include <string>

namespace murmex::lsp {

// Why the rename is refused, or empty when it may go ahead. `renamed` is
// the document's text with the new name written everywhere.
std::string renameProblem(const OpenDocument& document, const NameOccurrence& at,
                          const std::string& newName, const std::string& renamed);

} // namespace murmex::lsp
