// Conversion of dialog units to pixels with the base units of the classic
// 8-point dialog font: 6 pixels across and 13 down at 96 DPI. A horizontal
// dialog unit is a quarter of the base width, a vertical one an eighth of the
// base height.
#pragma once

#include <QRect>

#include "window/dialog_templates.h"

namespace kestrine::qt {

constexpr int BASE_UNIT_X = 6;
constexpr int BASE_UNIT_Y = 13;

// Rounds to the nearest pixel, as the platform's MulDiv does for positive values.
constexpr int dialogUnitsToPixelsX(int units) {
    return (units * BASE_UNIT_X + 2) / 4;
}
constexpr int dialogUnitsToPixelsY(int units) {
    return (units * BASE_UNIT_Y + 4) / 8;
}

inline QRect controlGeometry(const ControlTemplate& control) {
    return QRect(dialogUnitsToPixelsX(control.x), dialogUnitsToPixelsY(control.y),
                 dialogUnitsToPixelsX(control.width), dialogUnitsToPixelsY(control.height));
}

inline QSize clientSize(const DialogTemplate& dialog) {
    return QSize(dialogUnitsToPixelsX(dialog.width), dialogUnitsToPixelsY(dialog.height));
}

} // namespace kestrine::qt
