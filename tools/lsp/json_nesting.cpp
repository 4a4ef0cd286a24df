// A single pass over a JSON text that counts open arrays and objects, and a
// reading of its top level alone.
#include "tools/lsp/json_nesting.h"

#include <nlohmann/json.hpp>

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

nlohmann::json scalarMember(std::string_view json, const std::string& name) {
    using Event = nlohmann::json::parse_event_t;
    // The parser walks every level without recursion; only the top-level
    // object is built, each array or object in it left out as it starts.
    const auto topLevel = [](int depth, Event event, const nlohmann::json&) {
        return depth == 0 || (event != Event::object_start && event != Event::array_start);
    };
    const nlohmann::json top = nlohmann::json::parse(json, topLevel, false);
    if (!top.is_object()) {
        return nullptr;
    }
    const auto found = top.find(name);
    return found == top.end() || found->is_discarded() ? nlohmann::json() : *found;
}

} // namespace murmex::lsp
