// Colour derivation from the header colours.
#include "window/derived_colors.h"

namespace kestrine {

namespace {
// Factors out of 255 that darken the header colour for the background, the
// line colour for the texts' background and the text colour for the answer.
constexpr uint32_t WINDOW_FACTOR = 85;
constexpr uint32_t LINE_FACTOR = 150;
constexpr uint32_t ANSWER_FACTOR = 200;
constexpr uint32_t UNSCALED = 255;
} // namespace

ColorValue scaleColor(const murmex::Rgb& color, uint32_t factor) {
    return makeColorValue(scaleComponent(color.red, factor), scaleComponent(color.green, factor),
                          scaleComponent(color.blue, factor));
}

DerivedColors DerivedColors::from(const murmex::Rgb& color, const murmex::Rgb& textColor) {
    DerivedColors colors;
    colors.windowColor = scaleColor(color, WINDOW_FACTOR);
    colors.lineColor = scaleColor(color, LINE_FACTOR);
    colors.questionTextColor = scaleColor(textColor, UNSCALED);
    colors.hoverTextColor = scaleColor(color, UNSCALED);
    colors.answerTextColor = scaleColor(textColor, ANSWER_FACTOR);
    return colors;
}

} // namespace kestrine
