// Started by startup_bench: shows either the real conversation window on
// data.chr in the working folder, or a bare dialog of the same size, and
// writes one line to standard output as soon as the window has first painted
// what it shows (for the player: the answer), then ends.
#include "player/qt/player_window.h"
#include "window/dialog_templates.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Reports the first paint of the watched widget once it has been drawn.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            QTimer::singleShot(0, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool seen = false;
};

} // namespace

int main(int argc, char** argv) {
    const bool player = argc > 1 && std::strcmp(argv[1], "player") == 0;
    QApplication application(argc, argv);
    FirstPaint watcher;
    if (player) {
        static kestrine::qt::PlayerWindow window;
        window.initialise();
        window.staticText(kestrine::CONTROL_ANSWER)->installEventFilter(&watcher);
        window.show();
    } else {
        static QDialog dialog;
        dialog.setFixedSize(446, 302);
        dialog.installEventFilter(&watcher);
        dialog.show();
    }
    return application.exec();
}
