// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// The words a script uses for actions and condition operators, and what each
// action takes. The loader, the tools and every printer read this one table.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>

namespace murmex {

struct ActionKeyword {
    const char* keyword;
    ActionType action;
    // A PARAM field follows the action.
    bool takesParam;
    // A VAL field follows the PARAM.
    bool takesValue;
};

// In ActionType order. Every action but ACT_NONE has a text operand, the
// money actions included (it is read and kept, though nothing uses it).
inline constexpr ActionKeyword ACTION_KEYWORDS[] = {
    {"ACT_NONE", ACT_NONE, false, false},         {"ACT_COMM", ACT_COMM, true, false},
    {"ACT_ADD_MEM", ACT_ADD_MEM, true, true},     {"ACT_SUB_MEM", ACT_SUB_MEM, true, false},
    {"ACT_ADD_INV", ACT_ADD_INV, true, true},     {"ACT_SUB_INV", ACT_SUB_INV, true, false},
    {"ACT_ADD_MONEY", ACT_ADD_MONEY, true, true}, {"ACT_SUB_MONEY", ACT_SUB_MONEY, true, true},
};

struct OperatorKeyword {
    const char* keyword;
    ConditionOp op;
};

// In ConditionOp order, from OP_EQUAL.
inline constexpr OperatorKeyword OPERATOR_KEYWORDS[] = {
    {"==", OP_EQUAL}, {"!=", OP_NOT_EQUAL}, {"<", OP_LESS}, {">", OP_GREATER}, {"not", OP_NOT},
};

// Keywords match whole and exactly: no case folding, no trimming. Null, or
// 0 for an operator, when the text is none of them.
const ActionKeyword* findActionKeyword(const char* text);
ConditionOp findOperatorKeyword(const char* text);

// The entry of a stored action or operator; null for a value outside the table.
const ActionKeyword* actionKeyword(int32_t action);
const char* operatorKeyword(int32_t op);

} // namespace murmex
