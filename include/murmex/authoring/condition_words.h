// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// A condition written as words on one line, for a tool that takes one from
// its user rather than from a script: the values of its ID, OP and VAL
// fields, separated by blanks ("lit == 1", "letter not"). They are read by
// the rules of a condition block: OP is one of the operator keywords,
// exactly; "not" takes no VAL and every other operator takes one; VAL is a
// number as a condition's VAL holds it. The ID is every word before OP, so a
// name may hold blanks, as one in quotes may.
#pragma once

#include "murmex/script_model.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

struct ConditionWords {
    // The ID: where it begins in the text and how many bytes it takes.
    size_t nameBegin = 0;
    size_t nameLength = 0;
    ConditionOp op = OP_EQUAL;
    // Unused for OP_NOT.
    int32_t value = 0;
};

// Null when the text reads as a condition, filling `words`; otherwise the
// load's message for the same fault in a condition block ("Syntax error:
// wrong operator" for "lit = 1").
const char* readConditionWords(const char* text, ConditionWords& words);

} // namespace murmex
