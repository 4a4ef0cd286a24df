// The two loops that touch every byte of a script file: descrambling a
// fetched chunk, and finding where a quoted value stops. They run at the
// width of the processor's vector unit, so reading a large script costs
// little more than reading the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

// Exclusive-or of each byte with the key byte of its file offset; the first
// byte lies at firstOffset.
void descrambleBytes(uint8_t* bytes, size_t count, uint32_t firstOffset);

// The first double quote, line feed or zero byte in [from, to), or null.
const uint8_t* findValueStop(const uint8_t* from, const uint8_t* to);

} // namespace murmex
