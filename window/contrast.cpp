// Relative luminance and contrast ratios of the window's colours.
#include "window/contrast.h"

#include <algorithm>
#include <cmath>

namespace kestrine {

namespace {

double linearComponent(uint8_t component) {
    const double value = component / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(ColorValue color) {
    return 0.2126 * linearComponent(redOf(color)) + 0.7152 * linearComponent(greenOf(color)) +
           0.0722 * linearComponent(blueOf(color));
}

double contrastRatio(ColorValue first, ColorValue second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace kestrine
