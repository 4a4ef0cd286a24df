// Whether the window's derived colours leave its texts readable: contrast
// ratios from relative luminance as the WCAG 2 guidelines define them, over
// the colours the player derives from the script header.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/script_lines.h"
#include "window/derived_colors.h"
#include "tools/analysis/finding.h"

#include <vector>

namespace murmex::tool {

// 0 for black to 1 for white.
double relativeLuminance(kestrine::ColorValue color);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double contrastRatio(kestrine::ColorValue first, kestrine::ColorValue second);

// Appends a "low-contrast" warning for each text colour that stands too
// close to the line colour it is drawn on.
void lintHeaderColors(const ConversationEngine& engine, const ScriptLines& lines,
                      std::vector<Finding>& findings);

} // namespace murmex::tool
