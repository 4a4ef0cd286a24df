// The contrast check of the header colours.
#include "tools/analysis/color_contrast.h"

#include "window/contrast.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace murmex::tool {

namespace {

std::string colorText(kestrine::ColorValue color) {
    return std::to_string(kestrine::redOf(color)) + ", " +
           std::to_string(kestrine::greenOf(color)) + ", " +
           std::to_string(kestrine::blueOf(color));
}

std::string ratioText(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f:1", ratio);
    return text;
}

struct ColorPair {
    const char* what;
    kestrine::ColorValue text;
    double minimum;
    int32_t line;
};

} // namespace

void lintHeaderColors(const ScriptModel& engine, const ScriptPlaces& lines,
                      std::vector<Finding>& findings) {
    const kestrine::DerivedColors colors =
        kestrine::DerivedColors::from(engine.color, engine.textColor);
    const ColorPair pairs[] = {
        {"question text colour", colors.questionTextColor, kestrine::MIN_TEXT_CONTRAST,
         lines.textColorLine()},
        {"hovered question colour", colors.hoverTextColor, kestrine::MIN_HOVER_CONTRAST,
         lines.colorLine()},
    };
    for (const ColorPair& pair : pairs) {
        const double ratio = kestrine::contrastRatio(pair.text, colors.lineColor);
        if (ratio < pair.minimum) {
            findings.push_back(Finding{
                std::max(pair.line, 1),
                "low-contrast",
                std::string("the ") + pair.what + " " + colorText(pair.text) +
                    " on the line colour " + colorText(colors.lineColor) + " has a contrast of " +
                    ratioText(ratio) + ", below " + ratioText(pair.minimum) + ": hard to read",
                {},
                false});
        }
    }
}

} // namespace murmex::tool
