// The conversation window's Qt side.
#include "player/qt/player_window.h"

#include "player/qt/about_box.h"
#include "player/qt/accessibility.h"
#include "player/qt/player_icon.h"
#include "player/qt/qt_color.h"
#include "text/display_text.h"
#include "window/dialog_templates.h"
#include "window/text_fit.h"
#include "window/text_font.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

namespace kestrine::qt {

namespace {
// The keys the window plays, pressed without modifiers; Enter is the
// keypad's Return.
WindowKey windowKeyOf(int key) {
    if (key >= Qt::Key_1 && key <= Qt::Key_5) {
        return keyOfLine(key - Qt::Key_1);
    }
    switch (key) {
    case Qt::Key_Up:
        return WindowKey::Up;
    case Qt::Key_Down:
        return WindowKey::Down;
    case Qt::Key_Space:
        return WindowKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return WindowKey::Enter;
    default:
        return WindowKey::Other;
    }
}

QString fromScript(const char* text) {
    return QString::fromStdString(murmex::displayText(text));
}

ScreenRect toScreenRect(const QRect& rect) {
    return ScreenRect{rect.left(), rect.top(), rect.left() + rect.width(),
                      rect.top() + rect.height()};
}
} // namespace

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

PlayerWindow::PlayerWindow(const char* scriptFileName)
    : TemplateDialog(
          conversationDialogTemplate(),
          [this](int32_t controlId) { return dialog.controlColors(controlId, CTLCOLOR_STATIC); },
          nullptr),
      dialog(*this, scriptFileName) {
    // Movements over the window are wanted without a button held down.
    setMouseTracking(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowIcon(playerIcon());
    if (QPushButton* cancel = button(CONTROL_CANCEL)) {
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        // The button holds the focus; the keys that play reach the window first.
        cancel->installEventFilter(this);
    }
}

void PlayerWindow::initialise() {
    dialog.initialise();
    applyColorsAndFonts();
}

int PlayerWindow::run() {
    initialise();
    // Asked to end while a load error was shown, the window never opens.
    if (!endRequested) {
        exec();
    }
    return requestedExitCode;
}

void PlayerWindow::endRun() {
    endRequested = true;
    // Each box (and the context menu) runs a loop of its own nested in the
    // window's. Closing it ends that loop, and the code that opened it goes on
    // as after a dismissal, so a failure still asks for its exit status; the
    // window's loop, ended by the reject() below, then ends too. A box that
    // refuses to close ends the search instead of being tried forever.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (QApplication::activePopupWidget() == popup) {
            break;
        }
    }
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == this) {
            break;
        }
        if (auto* box = qobject_cast<QDialog*>(modal)) {
            box->reject();
        } else {
            modal->close();
        }
        if (QApplication::activeModalWidget() == modal) {
            modal->hide();
            if (QApplication::activeModalWidget() == modal) {
                break;
            }
        }
    }
    reject();
}

void PlayerWindow::applyColorsAndFonts() {
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, toQColor(dialog.windowBrush));
    setPalette(windowPalette);
    setAutoFillBackground(true);
    if (QPushButton* cancel = button(CONTROL_CANCEL)) {
        // The button keeps the template's font and the usual button colours.
        cancel->setPalette(QApplication::palette(cancel));
    }

    // The font's height asks for the cell, not the em: the em is the one the
    // measure of what fits a line gives. Fully hinted and unkerned, each
    // character takes its own whole pixels, as the window's platform draws it.
    QFont textFont(QString::fromLatin1(TEXT_FONT.face));
    textFont.setPixelSize(textPixelsPerEm());
    textFont.setWeight(static_cast<QFont::Weight>(TEXT_FONT.weight));
    textFont.setHintingPreference(QFont::PreferFullHinting);
    textFont.setKerning(false);
    staticText(CONTROL_ANSWER)->setFont(textFont);
    for (int32_t id : dialog.questionControlIds) {
        staticText(id)->setFont(textFont);
    }
}

const char* PlayerWindow::loadString(int32_t id) {
    return loadResourceString(id);
}

void PlayerWindow::addCommandEntry(const char* text, int32_t commandId) {
    entries.emplace_back(QString::fromLatin1(text), commandId);
}

void PlayerWindow::setControlText(int32_t controlId, const char* text) {
    if (StaticTextControl* control = staticText(controlId)) {
        const QString previous = control->text();
        control->setText(fromScript(text));
        announceTextChange(control, previous);
    }
}

void PlayerWindow::setCaption(const char* text) {
    setWindowTitle(fromScript(text));
}

ScreenPoint PlayerWindow::cursorPosition() {
    return ScreenPoint{pointer.x(), pointer.y()};
}

ScreenRect PlayerWindow::controlRect(int32_t controlId) {
    auto found = controls().find(controlId);
    if (found == controls().end()) {
        return ScreenRect{};
    }
    QWidget* control = found->second;
    return toScreenRect(QRect(control->mapToGlobal(QPoint(0, 0)), control->size()));
}

void PlayerWindow::invalidate() {
    // Without clip-children the controls repaint with the window.
    update();
    for (const auto& [id, control] : controls()) {
        control->update();
    }
}

void PlayerWindow::showMessage(const char* text) {
    if (endRequested) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationName(), fromScript(text), QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void PlayerWindow::postQuit(int32_t exitCode) {
    requestedExitCode = exitCode;
    if (quitRequested) {
        return;
    }
    quitRequested = true;
    // Ends the modal run once the event loop reaches it, also when the run
    // has not started yet.
    QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
}

void PlayerWindow::runAboutBox() {
    if (endRequested) {
        return;
    }
    AboutBox about(this);
    about.exec();
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event) {
    pointer = event->globalPosition().toPoint();
    dialog.mouseMoved();
    TemplateDialog::mouseMoveEvent(event);
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dialog.leftButtonReleased();
    }
    TemplateDialog::mouseReleaseEvent(event);
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (entries.empty() || endRequested) {
        return;
    }
    QMenu menu(this);
    for (const auto& [text, commandId] : entries) {
        menu.addSeparator();
        QAction* action = menu.addAction(text);
        action->setData(commandId);
    }
    if (QAction* chosen = menu.exec(event->globalPos())) {
        dialog.systemCommand(static_cast<uint32_t>(chosen->data().toInt()));
    }
}

int32_t PlayerWindow::questionLine(const QObject* control) const {
    for (int32_t line = 0; line < murmex::MAX_QUESTIONS; ++line) {
        auto found = controls().find(dialog.questionControlIds[line]);
        if (found != controls().end() && found->second == control) {
            return line;
        }
    }
    return -1;
}

void PlayerWindow::chooseLineLater(int32_t line) {
    QTimer::singleShot(0, this, [this, line] {
        if (!endRequested) {
            dialog.chooseLine(line);
        }
    });
}

bool PlayerWindow::playKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    if (modifiers == Qt::NoModifier) {
        const WindowKey played = windowKeyOf(key);
        if (played != WindowKey::Other) {
            return dialog.pressKey(played);
        }
    }
    if ((modifiers & ~(Qt::AltModifier | Qt::ShiftModifier)) != Qt::NoModifier) {
        return false;
    }
    // Letter keys report the upper-case letter for ASCII and Latin-1; the
    // text gives any other letter.
    char32_t letter = 0;
    if (key < 0x100 && QChar(key).isLetter()) {
        letter = static_cast<char32_t>(key);
    } else if (const QList<uint> text = event.text().toUcs4(); !text.isEmpty()) {
        letter = text.front();
    }
    return QChar::isLetterOrNumber(letter) && dialog.chooseMnemonic(letter);
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    if (!playKey(*event)) {
        TemplateDialog::keyPressEvent(event);
    }
}

bool PlayerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && playKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return TemplateDialog::eventFilter(watched, event);
}

} // namespace kestrine::qt
