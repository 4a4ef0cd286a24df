// Makes a picture of the real conversation window for the documentation: runs
// the player's window on data.chr in the working folder, optionally points at
// one question line, and saves what the window shows as a PNG file.
#include "player/player_app.h"
#include "player/qt/player_window.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrine_screenshot OUT.png [LINE] [-nd]\n");
        return 2;
    }
    const char* output = argv[1];
    const int line = argc > 2 ? std::atoi(argv[2]) : -1;
    const bool plain = argc > 3 && kestrine::selectsPlainScripts(argv[3]);
    QApplication application(argc, argv);
    kestrine::qt::PlayerWindow window;
    if (plain) {
        window.logic().engine.disableDescramble();
    }
    window.initialise();
    window.show();
    int status = 0;
    QTimer::singleShot(200, &window, [&] {
        if (line >= 0 && line < 5) {
            QWidget* target = window.controls().at(window.logic().questionControlIds[line]);
            const QPoint local = target->geometry().center();
            QMouseEvent move(QEvent::MouseMove, local, window.mapToGlobal(local), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&window, &move);
        }
        QApplication::processEvents();
        status = window.grab().save(QString::fromLocal8Bit(output)) ? 0 : 1;
        window.done(0);
    });
    window.exec();
    return status;
}
