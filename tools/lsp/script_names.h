// The names a script gives its characters and variables, and every place
// each is written: the ground for definition, references, hover and rename.
#pragma once

#include "tools/lsp/script_index.h"

#include <string>
#include <vector>

namespace murmex::lsp {

enum class NameKind { None, Character, Variable };

// What a place does with its name.
enum class NameUse {
    Defined,    // a character block's name
    HandedOver, // PARAM of ACT_COMM
    Set,        // PARAM of ACT_ADD_MEM
    Removed,    // PARAM of ACT_SUB_MEM
    Tested,     // a condition's ID
};

struct NameOccurrence {
    NameKind kind = NameKind::None;
    NameUse use = NameUse::Defined;
    std::string name;
    // The name between its quotes.
    Span span;
    // The character and the unit (-1 for a block's name) it stands in.
    int character = 0;
    int unit = -1;
};

// Every occurrence of every name, in script order.
std::vector<NameOccurrence> nameOccurrences(const ScriptIndex& index);

// The occurrence whose name the offset touches; kind None when there is none.
NameOccurrence nameAt(const std::vector<NameOccurrence>& occurrences, size_t offset);

// The occurrences of one name of one kind.
std::vector<NameOccurrence> occurrencesOf(const std::vector<NameOccurrence>& occurrences,
                                          NameKind kind, const std::string& name);

} // namespace murmex::lsp
