// Whether the window's derived colours leave its texts readable: contrast
// ratios from relative luminance as the WCAG 2 guidelines define them, and
// the least contrast each text of the window needs.
#pragma once

#include "window/derived_colors.h"

namespace kestrine {

// The least contrast the guidelines ask of large text and of parts of an
// interface: what the question and answer texts need on the line colour.
constexpr double MIN_TEXT_CONTRAST = 3.0;
// The hover colour is the header colour itself and the line colour its darker
// shade, so no header reaches 3:1 there (white gives 2.96:1). Below 2:1 the
// hovered line is dark on dark.
constexpr double MIN_HOVER_CONTRAST = 2.0;

// 0 for black to 1 for white.
double relativeLuminance(ColorValue color);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double contrastRatio(ColorValue first, ColorValue second);

} // namespace kestrine
