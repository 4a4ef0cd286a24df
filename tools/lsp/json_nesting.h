// How deeply a message's JSON nests, told from its text before it is parsed:
// a document built from thousands of nested arrays would take the stack of
// every routine that copies, prints or compares it level by level.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace murmex::lsp {

// The deepest nesting of arrays and objects a message may have. The
// protocol's own messages nest a dozen levels; the rest is room for
// editors' settings.
constexpr size_t MESSAGE_NESTING_LIMIT = 128;

// True when the arrays and objects of `json` nest deeper than `limit`.
// Brackets inside strings don't count; the text need not be valid JSON.
bool nestsDeeperThan(std::string_view json, size_t limit);

// The top-level member `name` of an object's text when its value is no array
// or object; null otherwise. Nothing inside the object is built, however deep
// it nests, so a message refused for its depth can still be answered by its id.
nlohmann::json scalarMember(std::string_view json, const std::string& name);

} // namespace murmex::lsp
