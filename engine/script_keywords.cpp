// Looking keywords up in the one table of actions and operators.
#include "murmex/script_keywords.h"

#include <cstring>

namespace murmex {

const ActionKeyword* findActionKeyword(const char* text) {
    for (const ActionKeyword& entry : ACTION_KEYWORDS) {
        if (std::strcmp(text, entry.keyword) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

ConditionOp findOperatorKeyword(const char* text) {
    for (const OperatorKeyword& entry : OPERATOR_KEYWORDS) {
        if (std::strcmp(text, entry.keyword) == 0) {
            return entry.op;
        }
    }
    return static_cast<ConditionOp>(0);
}

const ActionKeyword* actionKeyword(int32_t action) {
    for (const ActionKeyword& entry : ACTION_KEYWORDS) {
        if (entry.action == action) {
            return &entry;
        }
    }
    return nullptr;
}

const char* operatorKeyword(int32_t op) {
    for (const OperatorKeyword& entry : OPERATOR_KEYWORDS) {
        if (entry.op == op) {
            return entry.keyword;
        }
    }
    return nullptr;
}

} // namespace murmex
