// Script bytes scrambled as the tool writes them. The transform is the core's
// one scrambleBytes; the reader's tests pin its key bytes, so a changed key
// can't pass unnoticed here.
#pragma once

#include "murmex/scrambling.h"

#include <string>

namespace murmex::testing {

// Each byte combined with the key byte of its offset; applied twice, the
// text comes back.
inline std::string scrambled(std::string text) {
    scrambleBytes(text.data(), text.size());
    return text;
}

} // namespace murmex::testing
