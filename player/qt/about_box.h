// The About box: the program's icon, name and version, and an OK button.
#pragma once

#include "player/qt/template_dialog.h"

namespace kestrine::qt {

class AboutBox : public TemplateDialog {
  public:
    explicit AboutBox(QWidget* owner);
};

} // namespace kestrine::qt
