// Painting of the static text controls.
#include "player/qt/static_text_control.h"

#include "player/qt/qt_color.h"

#include <QPainter>

namespace kestrine::qt {

StaticTextControl::StaticTextControl(const ControlTemplate& control, ColorSource colors,
                                     QWidget* parent)
    : QWidget(parent), id(control.id), style(control.style), colors(std::move(colors)),
      shownText(QString::fromLatin1(control.text)) {
    // Hover and click logic lives in the window: let the events reach it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void StaticTextControl::setText(const QString& text) {
    if (text != shownText) {
        shownText = text;
        update();
    }
}

int StaticTextControl::textFlags() const {
    int flags = Qt::AlignLeft;
    if (style & STYLE_CENTER_VERTICALLY) {
        flags |= Qt::AlignVCenter | Qt::TextSingleLine;
    } else {
        flags |= Qt::AlignTop;
    }
    if (style & STYLE_WORD_WRAP) {
        flags |= Qt::TextWordWrap;
    }
    if (!(style & STYLE_NO_PREFIX)) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

QRect StaticTextControl::textBounds() const {
    return fontMetrics().boundingRect(rect(), textFlags(), shownText);
}

void StaticTextControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(rect());
    if (colors) {
        const ControlColors chosen = colors(id);
        painter.fillRect(rect(), toQColor(chosen.brush));
        painter.setPen(toQColor(chosen.text));
    } else {
        painter.setPen(palette().color(QPalette::WindowText));
    }
    painter.drawText(rect(), textFlags(), shownText);
}

} // namespace kestrine::qt
