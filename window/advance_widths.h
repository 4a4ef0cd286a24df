// The advance widths of the window's text face, as a generated table (see
// make_advance_widths.py), so that the measure needs no font at build time.
#pragma once

#include <cstdint>

namespace kestrine::advance_widths {

// The face's design grid and the cell a Windows font height asks for.
extern const int32_t UNITS_PER_EM;
extern const int32_t WIN_ASCENT;
extern const int32_t WIN_DESCENT;

struct Advance {
    char32_t codePoint;
    uint16_t width;
};

// Widths of U+0000 to U+00FF in font units.
extern const uint16_t LATIN_1[256];
// Widths of the rest of Windows-1252's characters (the euro sign, the curly
// quotes, dashes and the like) and of Latin Extended-A, by code point in
// ascending order.
extern const Advance BEYOND_LATIN_1[148];

} // namespace kestrine::advance_widths
