// Where a word-wrapped static control breaks its text into lines, as the
// platform's own control does: at line feeds, and between words (runs of
// characters other than spaces). A word stays on a line when it fits there
// with the spaces before it and, where a space follows it, that space too;
// the first word of a line stays however wide it is. The spaces where a
// line breaks are not drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrine {

// A character of the text as drawn and its width in pixels (0 for a
// mnemonic marker).
struct WrapUnit {
    char32_t point;
    int32_t width;
};

// A line: the units from `begin` up to the end of its last word, and their
// width in pixels. A line without a word (an empty one, or one of spaces
// only) is empty.
struct WrappedLine {
    size_t begin;
    size_t end;
    int32_t width;
};

struct WrappedText {
    std::vector<WrappedLine> lines;
    // A word wider than a line, which the control cuts off at its right edge.
    bool wordTooWide = false;
};

WrappedText wrapText(const std::vector<WrapUnit>& units, int32_t lineWidth);

// The lines up to the last that holds a word: the empty lines after it show
// nothing.
size_t linesWithText(const WrappedText& wrapped);

} // namespace kestrine
