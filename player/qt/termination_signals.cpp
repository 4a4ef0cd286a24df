// The signal-to-event-loop bridge that closes the player on SIGTERM, SIGINT
// and SIGHUP.
#include "player/qt/termination_signals.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace kestrine::qt {

namespace {

// Written by the handler, read by the notifier. Set once, before any handler
// is installed, and never changed.
int signalSockets[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    // Nothing to do if the pair is full: a close is pending already.
    [[maybe_unused]] const ssize_t ignored = ::write(signalSockets[0], &byte, 1);
}

} // namespace

bool closeOnTermination(QDialog* dialog) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        return false;
    }
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, dialog);
    QObject::connect(notifier, &QSocketNotifier::activated, dialog, [dialog] {
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(signalSockets[1], &byte, 1);
        dialog->reject();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    return true;
}

} // namespace kestrine::qt
