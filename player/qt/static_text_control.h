// A static text control that paints itself: the whole rectangle in its brush
// colour, the text clipped to the rectangle, an ampersand underlining the next
// character unless the control shows ampersands as they are. Mouse events pass
// through it to the window beneath.
#pragma once

#include "player/player_dialog.h"
#include "window/dialog_templates.h"
#include "window/word_wrap.h"

#include <QWidget>

#include <functional>

namespace kestrine::qt {

class StaticTextControl : public QWidget {
  public:
    // Asked for the colours at every paint; without it the palette's are used.
    using ColorSource = std::function<ControlColors(int32_t controlId)>;

    StaticTextControl(const ControlTemplate& control, ColorSource colors, QWidget* parent);

    void setText(const QString& text);
    const QString& text() const { return shownText; }
    int32_t controlId() const { return id; }
    // True when an ampersand marks the next character instead of showing.
    bool marksMnemonics() const { return !(style & STYLE_NO_PREFIX); }
    // Where the text is laid out when painted; beyond rect() it is clipped.
    QRect textBounds() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int textFlags() const;
    // The text broken into lines as the platform's word-wrapped control breaks it.
    WrappedText wrappedText() const;

    int32_t id;
    uint32_t style;
    ColorSource colors;
    QString shownText;
};

} // namespace kestrine::qt
