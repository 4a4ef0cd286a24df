// Placement of the templates' controls in pixels, by the window's conversion
// of dialog units.
#pragma once

#include <QRect>

#include "window/dialog_templates.h"
#include "window/dialog_units.h"

namespace kestrine::qt {

inline QRect controlGeometry(const ControlTemplate& control) {
    return QRect(dialogUnitsToPixelsX(control.x), dialogUnitsToPixelsY(control.y),
                 dialogUnitsToPixelsX(control.width), dialogUnitsToPixelsY(control.height));
}

inline QSize clientSize(const DialogTemplate& dialog) {
    return QSize(dialogUnitsToPixelsX(dialog.width), dialogUnitsToPixelsY(dialog.height));
}

} // namespace kestrine::qt
