// The font the window draws its answer and question lines in. Both backends
// ask their toolkit for it, and the measure of what fits a line is made for it.
#pragma once

#include <cstdint>

namespace kestrine {

struct FontRequest {
    // The face asked for; where it is missing, Liberation Sans stands in for
    // it with the same advance widths.
    const char* face;
    // The height of a character cell in pixels.
    int32_t cellHeight;
    // 400 is regular, 700 bold.
    int32_t weight;
};

// Bold, a cell 14 pixels high. The button and the About box keep the
// template's font.
constexpr FontRequest TEXT_FONT = {"Arial", 14, 700};

} // namespace kestrine
