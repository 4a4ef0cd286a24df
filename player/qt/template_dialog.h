// Builds a dialog's controls from its template: every control placed in
// dialog units, static texts as self-painting controls, push buttons as
// buttons. Both of the player's windows are made this way.
#pragma once

#include "player/qt/static_text_control.h"
#include "window/dialog_templates.h"

#include <QDialog>
#include <QFont>
#include <QPushButton>

#include <map>

namespace kestrine::qt {

// The dialog font the templates name, at their point size.
QFont templateFont(const DialogTemplate& dialogTemplate);

class TemplateDialog : public QDialog {
  public:
    TemplateDialog(const DialogTemplate& dialogTemplate, StaticTextControl::ColorSource colors,
                   QWidget* parent);

    StaticTextControl* staticText(int32_t controlId) const;
    QPushButton* button(int32_t controlId) const;
    // Every control with an identifier, for hit tests and repainting.
    const std::map<int32_t, QWidget*>& controls() const { return byId; }

  private:
    std::map<int32_t, QWidget*> byId;
};

} // namespace kestrine::qt
