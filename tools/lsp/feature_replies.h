// The replies to the editor's questions about an open document, in the
// protocol's JSON: symbols, definition, references, hover, completion and
// rename.
#pragma once

#include "tools/lsp/open_document.h"

#include <nlohmann/json.hpp>

#include <string>

namespace murmex::lsp {

// A rename the server won't make; `what` says why, for the editor to show.
struct RefusedRename {
    std::string what;
};

nlohmann::json rangeOf(const OpenDocument& document, const Span& span);

nlohmann::json documentSymbols(const OpenDocument& document);
nlohmann::json definitionAt(const OpenDocument& document, size_t offset);
nlohmann::json referencesAt(const OpenDocument& document, size_t offset, bool withDefinition);
nlohmann::json hoverReply(const OpenDocument& document, size_t offset);
nlohmann::json completionAt(const OpenDocument& document, size_t offset);
// A WorkspaceEdit; null when no name stands at the offset. Refused: the
// new name can't be written, is too long, or is taken.
nlohmann::json renameAt(const OpenDocument& document, size_t offset, const std::string& newName,
                        RefusedRename& refused);

} // namespace murmex::lsp
