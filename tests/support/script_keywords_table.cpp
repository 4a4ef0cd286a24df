// Prints the script's keywords as the loader knows them, one "kind word" a
// line (header, field, action, operator), for the check that the editors'
// syntax files colour exactly these.
#include "murmex/script_keywords.h"
#include "murmex/script_syntax.h"

#include <cstdio>

int main() {
    using namespace murmex;
    for (const ScriptFieldInfo& info : SCRIPT_FIELDS) {
        if (info.keyword[0] == 0) {
            continue; // a character's name has no keyword
        }
        std::printf("%s %s\n", info.field < ScriptField::Name ? "header" : "field", info.keyword);
    }
    for (const ActionKeyword& keyword : ACTION_KEYWORDS) {
        std::printf("action %s\n", keyword.keyword);
    }
    for (const OperatorKeyword& keyword : OPERATOR_KEYWORDS) {
        std::printf("operator %s\n", keyword.keyword);
    }
    return 0;
}
