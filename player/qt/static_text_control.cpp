// Painting of the static text controls.
#include "player/qt/static_text_control.h"

#include "player/qt/qt_color.h"
#include "window/word_wrap.h"

#include <QPainter>

#include <algorithm>

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

namespace {

// Each UTF-16 unit of the text with the width it is drawn in: a mnemonic
// marker takes none (of "&&" the second is the ampersand shown), and a
// surrogate pair's width stands on its first unit.
std::vector<WrapUnit> unitsOf(const QString& text, const QFontMetrics& metrics, bool marks) {
    std::vector<WrapUnit> units;
    units.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        int32_t width = 0;
        if (marks && unit == u'&') {
            // A marker; when it doubles an ampersand, the next unit is the one drawn.
            units.push_back({U'&', 0});
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                units.push_back({U'&', metrics.horizontalAdvance(u'&')});
                ++i;
            }
            continue;
        }
        if (unit.isHighSurrogate() && i + 1 < text.size()) {
            width = metrics.horizontalAdvance(text.mid(i, 2));
        } else if (!unit.isLowSurrogate()) {
            width = metrics.horizontalAdvance(unit);
        }
        units.push_back({unit.unicode(), width});
    }
    return units;
}

} // namespace

WrappedText StaticTextControl::wrappedText() const {
    return wrapText(unitsOf(shownText, fontMetrics(), marksMnemonics()), width());
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
    if (!(style & STYLE_WORD_WRAP)) {
        return fontMetrics().boundingRect(rect(), textFlags(), shownText);
    }
    const WrappedText wrapped = wrappedText();
    int32_t widest = 0;
    for (const WrappedLine& line : wrapped.lines) {
        widest = std::max(widest, line.width);
    }
    return QRect(0, 0, widest, static_cast<int>(linesWithText(wrapped)) * fontMetrics().height());
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
    if (!(style & STYLE_WORD_WRAP)) {
        painter.drawText(rect(), textFlags(), shownText);
        return;
    }
    // Lines broken as the platform's control breaks them, one below the other.
    const int lineHeight = fontMetrics().height();
    const int lineFlags = (textFlags() & ~Qt::TextWordWrap) | Qt::TextSingleLine;
    int top = 0;
    for (const WrappedLine& line : wrappedText().lines) {
        const QString shown = shownText.mid(static_cast<qsizetype>(line.begin),
                                            static_cast<qsizetype>(line.end - line.begin));
        painter.drawText(QRect(0, top, width(), lineHeight), lineFlags, shown);
        top += lineHeight;
    }
}

} // namespace kestrine::qt
