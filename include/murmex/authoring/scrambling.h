// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// The transform between a plain script and the scrambled form the player
// reads by default: every byte combined by exclusive-or with the key byte of
// its offset in the file. Applying it twice gives the bytes back, so the same
// call scrambles and descrambles.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

// Transforms `count` bytes in place; the first of them lies at `firstOffset`
// in the file. Offsets wrap past 4 GiB, which is harmless: the key repeats
// every 256 bytes.
void scrambleBytes(void* bytes, size_t count, uint32_t firstOffset = 0);

} // namespace murmex
