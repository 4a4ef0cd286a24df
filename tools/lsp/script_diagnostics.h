// What is wrong with a document: every error the recovering check finds
// when it does not load, every lint warning when it does, each placed on
// the field it concerns where that can be told, else on its line.
#pragma once

#include "tools/lsp/script_index.h"

#include <string>
#include <vector>

namespace murmex::lsp {

enum class Severity { Error = 1, Warning = 2 };

struct ScriptDiagnostic {
    Span span;
    Severity severity = Severity::Error;
    // The load's result code for an error, the rule's stable name for a warning.
    std::string code;
    std::string message;
    // The cause in the author's words; empty when the message says it all.
    std::string explanation;
};

// `text` is the document as the editor holds it, read as a plain script.
std::vector<ScriptDiagnostic> diagnoseScript(const std::string& text, const ScriptIndex& index);

} // namespace murmex::lsp
