// Reading an integer out of a script value: the numbers of the header colours,
// of a unit's states and of the VAL fields.
#pragma once

#include <cstdint>

namespace murmex {

// Reads the number at the start of text: blanks first, then an optional sign,
// then 0x/0X and hexadecimal digits, a leading 0 and octal digits, or decimal
// digits. The number ends at the first character that can't continue it; the
// rest of the text is ignored. Digits accumulate modulo 2^32 and the sign is
// applied last, so a number beyond 32 bits wraps around instead of failing.
// Returns false, leaving value alone, when no number starts in text.
bool parseInteger(const char* text, int32_t& value);

} // namespace murmex
