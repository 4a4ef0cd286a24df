// The Kestrine player: reads data.chr from the working folder and plays it in
// the conversation window until the window is closed.
#include "player/player_app.h"
#include "player/qt/player_window.h"
#include "player/qt/termination_signals.h"

#include <QApplication>

int main(int argc, char** argv) {
    // First of all, so that a signal ends the player however far it has got.
    kestrine::qt::installTerminationHandler();
    // The tail is taken as the process received it, before Qt removes its own options.
    const std::string tail = kestrine::commandLineTail(argc, argv);
    QApplication application(argc, argv);
    kestrine::qt::PlayerWindow window;
    if (kestrine::selectsPlainScripts(tail)) {
        window.logic().engine.disableDescramble();
    }
    // Asked to end from outside, the player closes whatever box is open and
    // then its window, as if the user had closed them.
    kestrine::qt::endOnTermination(&window, [&window] { window.endRun(); });
    return window.run();
}
