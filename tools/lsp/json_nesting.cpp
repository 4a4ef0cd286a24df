// A single pass over a JSON text that counts open arrays and objects.
#include "tools/lsp/json_nesting.h"

namespace murmex::lsp {

bool nestsDeeperThan(std::string_view json, size_t limit) {
    size_t depth = 0;
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i; // the escaped character can't end the string
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return true;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

} // namespace murmex::lsp
