// Script bytes scrambled as the tool writes them, for tests that need a
// scrambled file without running the tool's own scrambling.
#pragma once

#include "loader/scramble_key.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace murmex::testing {

// Each byte combined with the key byte of its offset; applied twice, the
// text comes back.
inline std::string scrambled(std::string text) {
    for (size_t offset = 0; offset < text.size(); ++offset) {
        text[offset] =
            static_cast<char>(text[offset] ^ scrambleKeyAt(static_cast<uint32_t>(offset)));
    }
    return text;
}

} // namespace murmex::testing
