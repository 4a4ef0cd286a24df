// Plain scripts for the player's tests, under the title and colours they
// check on screen.
#pragma once

#include "support/script_text.h"

#include <string>

namespace kestrine::testing {

// The header with the colours 10, 20, 30 and 1, 2, 3, then the characters.
inline std::string playerScript(const std::string& characters,
                                const std::string& title = "Test Title") {
    return murmex::testing::scriptHeader(
               {.title = title, .color = {10, 20, 30}, .textColor = {1, 2, 3}}) +
           characters;
}

} // namespace kestrine::testing
