// The icon's images are read as PNG, and only as PNG. Left to find out the
// format itself, even when told it, Qt loads every image plugin it has to ask
// each one whether it can read them, which costs the player's start more than
// building the rest of its window.
#include "player/qt/player_icon.h"

#include <QImageReader>

namespace kestrine::qt {

namespace {

const char* const LARGE_ICON = ":/kestrine/kestrine_32.png";
const char* const SMALL_ICON = ":/kestrine/kestrine_16.png";

QPixmap pngPixmap(const char* resource) {
    QImageReader reader(QString::fromLatin1(resource), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon playerIcon() {
    QIcon icon;
    icon.addPixmap(pngPixmap(LARGE_ICON));
    icon.addPixmap(pngPixmap(SMALL_ICON));
    return icon;
}

QPixmap largePlayerIcon() {
    return pngPixmap(LARGE_ICON);
}

} // namespace kestrine::qt
