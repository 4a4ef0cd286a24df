// The window's colours, derived once from the two colours of the script header.
#pragma once

#include "murmex/conversation_engine.h"

#include <cstdint>

namespace kestrine {

// A colour value: red in the lowest byte, green in the second, blue in the
// third, the top byte zero.
using ColorValue = uint32_t;

constexpr ColorValue makeColorValue(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}
constexpr uint8_t redOf(ColorValue color) {
    return color & 0xFF;
}
constexpr uint8_t greenOf(ColorValue color) {
    return (color >> 8) & 0xFF;
}
constexpr uint8_t blueOf(ColorValue color) {
    return (color >> 16) & 0xFF;
}

// floor(component * factor / 255), exact in integers.
constexpr uint32_t scaleComponent(uint8_t component, uint32_t factor) {
    return component * factor / 255;
}

// Each component of the colour scaled by the factor.
ColorValue scaleColor(const murmex::Rgb& color, uint32_t factor);

struct DerivedColors {
    ColorValue windowColor = 0;       // header colour at 85/255: window background
    ColorValue lineColor = 0;         // header colour at 150/255: text backgrounds
    ColorValue questionTextColor = 0; // text colour as given: question lines
    ColorValue hoverTextColor = 0;    // header colour as given: the hovered line
    ColorValue answerTextColor = 0;   // text colour at 200/255: the answer

    static DerivedColors from(const murmex::Rgb& color, const murmex::Rgb& textColor);
};

} // namespace kestrine
