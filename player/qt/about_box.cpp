// The About box, made from its template.
#include "player/qt/about_box.h"

namespace kestrine::qt {

AboutBox::AboutBox(QWidget* owner) : TemplateDialog(aboutDialogTemplate(), nullptr, owner) {
    if (QPushButton* ok = button(CONTROL_OK)) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
}

} // namespace kestrine::qt
