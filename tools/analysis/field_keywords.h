// The words that name a talk unit's and a condition's fields, in the order a
// script gives them, taken from the loader's table of fields. Only the
// language server still reads them here; everything else reads the table.
#pragma once

#include "murmex/script_syntax.h"

#include <string_view>

namespace murmex::tool {

// A talk unit's fields; PARAM and VAL stand only where the action takes them.
inline constexpr std::string_view UNIT_FIELD_KEYWORDS[] = {
    scriptField(ScriptField::State).keyword,    scriptField(ScriptField::Next).keyword,
    scriptField(ScriptField::Question).keyword, scriptField(ScriptField::Answer).keyword,
    scriptField(ScriptField::Action).keyword,   scriptField(ScriptField::Param).keyword,
    scriptField(ScriptField::UnitValue).keyword};
// A condition's fields; VAL stands for every operator but "not".
inline constexpr std::string_view CONDITION_FIELD_KEYWORDS[] = {
    scriptField(ScriptField::Variable).keyword, scriptField(ScriptField::Operator).keyword,
    scriptField(ScriptField::ConditionValue).keyword};

inline bool isFieldKeyword(std::string_view word) {
    for (const ScriptFieldInfo& info : SCRIPT_FIELDS) {
        if (info.field >= ScriptField::State && word == info.keyword) {
            return true;
        }
    }
    return false;
}

} // namespace murmex::tool
