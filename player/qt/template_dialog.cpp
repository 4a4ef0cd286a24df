// Dialogs made from templates.
#include "player/qt/template_dialog.h"

#include "player/qt/accessibility.h"
#include "player/qt/dialog_units.h"
#include "player/qt/player_icon.h"

#include <QLabel>

namespace kestrine::qt {

namespace {
// 8 points at 96 DPI.
constexpr int POINTS_TO_PIXELS_NUMERATOR = 96;
constexpr int POINTS_PER_INCH = 72;

QWidget* makeControl(const ControlTemplate& control, const StaticTextControl::ColorSource& colors,
                     QWidget* parent) {
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(QString::fromLatin1(control.text), parent);
        button->setDefault(control.style & STYLE_DEFAULT_BUTTON);
        button->setFocusPolicy((control.style & STYLE_TAB_STOP) ? Qt::StrongFocus : Qt::NoFocus);
        return button;
    }
    case ControlKind::StaticIcon: {
        auto* label = new QLabel(parent);
        label->setPixmap(largePlayerIcon());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::StaticText:
        break;
    }
    return new StaticTextControl(control, colors, parent);
}
} // namespace

QFont templateFont(const DialogTemplate& dialogTemplate) {
    QFont font(QString::fromLatin1(dialogTemplate.fontName));
    font.setPixelSize(
        (dialogTemplate.fontPointSize * POINTS_TO_PIXELS_NUMERATOR + POINTS_PER_INCH / 2) /
        POINTS_PER_INCH);
    return font;
}

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate,
                               StaticTextControl::ColorSource colors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    installAccessibility();
    setWindowTitle(QString::fromLatin1(dialogTemplate.caption));
    setFont(templateFont(dialogTemplate));
    setFixedSize(clientSize(dialogTemplate));
    for (int32_t i = 0; i < dialogTemplate.controlCount; ++i) {
        const ControlTemplate& control = dialogTemplate.controls[i];
        QWidget* widget = makeControl(control, colors, this);
        widget->setGeometry(controlGeometry(control));
        if (control.id != CONTROL_UNNAMED) {
            byId[control.id] = widget;
        }
    }
}

StaticTextControl* TemplateDialog::staticText(int32_t controlId) const {
    auto found = byId.find(controlId);
    return found == byId.end() ? nullptr : dynamic_cast<StaticTextControl*>(found->second);
}

QPushButton* TemplateDialog::button(int32_t controlId) const {
    auto found = byId.find(controlId);
    return found == byId.end() ? nullptr : dynamic_cast<QPushButton*>(found->second);
}

} // namespace kestrine::qt
