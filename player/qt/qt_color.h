// Colour values of the window logic as Qt colours.
#pragma once

#include "window/derived_colors.h"

#include <QColor>

namespace kestrine::qt {

inline QColor toQColor(ColorValue color) {
    return QColor(redOf(color), greenOf(color), blueOf(color));
}

} // namespace kestrine::qt
