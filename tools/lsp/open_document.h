// A document the editor has open: its text and what is read off it, kept
// until the next change so that each request finds it ready.
#pragma once

#include "tools/lsp/script_index.h"
#include "tools/lsp/script_names.h"
#include "tools/lsp/text_positions.h"

#include <string>
#include <vector>

namespace murmex::lsp {

class OpenDocument {
  public:
    OpenDocument(std::string uri, std::string text)
        : uri(std::move(uri)), text(std::move(text)), index(indexScript(this->text)),
          names(nameOccurrences(index)) {}
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;

    const std::string uri;
    const std::string text;
    const TextPositions positions{text};
    const ScriptIndex index;
    const std::vector<NameOccurrence> names;
};

} // namespace murmex::lsp
