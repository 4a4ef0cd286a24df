// Which marked characters a key can choose. The engine finds the character
// an '&' marks (murmex/script_text.h); a key chooses it only when it is a
// letter or a digit.
#pragma once

namespace kestrine {

// True when a key can choose the code point as a mnemonic: a letter or a
// digit. Blanks, punctuation and symbols cannot be typed as a mnemonic key.
bool canBeMnemonic(char32_t point);

} // namespace kestrine
