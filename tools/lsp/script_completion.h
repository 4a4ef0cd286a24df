// What may be typed at a place in a script: the next field keywords inside
// a unit or condition, action and operator names in ACT and OP, character
// names in a hand-over's PARAM, known variables in ID and a memory PARAM.
#pragma once

#include "tools/lsp/script_index.h"
#include "tools/lsp/script_names.h"

#include <string>
#include <vector>

namespace murmex::lsp {

enum class CompletionKind { Keyword, Action, Operator, Character, Variable };

struct Completion {
    std::string label;
    CompletionKind kind = CompletionKind::Keyword;
};

std::vector<Completion> completeAt(const ScriptIndex& index,
                                   const std::vector<NameOccurrence>& names, size_t offset);

} // namespace murmex::lsp
