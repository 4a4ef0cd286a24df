// The player's icon, from the two images built into the program.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kestrine::qt {

// The window's icon, in both its sizes.
QIcon playerIcon();

// The larger image alone, as the About box shows it.
QPixmap largePlayerIcon();

} // namespace kestrine::qt
