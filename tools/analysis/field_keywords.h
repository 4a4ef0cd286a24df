// The words that name a talk unit's and a condition's fields, in the order a
// script gives them. Explanations of load errors and the language server
// read them here.
#pragma once

#include <string_view>

namespace murmex::tool {

// A talk unit's fields; PARAM and VAL stand only where the action takes them.
inline constexpr std::string_view UNIT_FIELD_KEYWORDS[] = {"S",   "N",     "Q",  "A",
                                                           "ACT", "PARAM", "VAL"};
// A condition's fields; VAL stands for every operator but "not".
inline constexpr std::string_view CONDITION_FIELD_KEYWORDS[] = {"ID", "OP", "VAL"};

inline bool isFieldKeyword(std::string_view word) {
    for (const std::string_view keyword : UNIT_FIELD_KEYWORDS) {
        if (word == keyword) {
            return true;
        }
    }
    for (const std::string_view keyword : CONDITION_FIELD_KEYWORDS) {
        if (word == keyword) {
            return true;
        }
    }
    return false;
}

} // namespace murmex::tool
