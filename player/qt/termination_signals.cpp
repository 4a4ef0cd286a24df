// The handler of SIGTERM, SIGINT and SIGHUP and its bridge to the event loop.
#include "player/qt/termination_signals.h"

#include <QSocketNotifier>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace kestrine::qt {

namespace {

constexpr int TERMINATION_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler, read by the notifier. Set once, before the handler
// is installed, and never changed.
int signalSockets[2] = {-1, -1};

// Whether an event loop serves the notifier yet. The handler may run on any
// of the process's threads, so this is a lock-free atomic, which a handler
// may read.
std::atomic<bool> loopRunning{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onTerminationSignal(int) {
    if (!loopRunning.load()) {
        // Nothing shown and nothing to undo: end as a normal close would.
        ::_exit(0);
    }
    const int savedErrno = errno;
    const char byte = 1;
    // If the pair is full, an end is pending already and nothing is lost.
    [[maybe_unused]] const ssize_t ignored = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

bool installTerminationHandler() {
    if (signalSockets[0] >= 0) {
        return true;
    }
    // Non-blocking, so the handler never waits on a full pair and the
    // notifier can empty it without waiting either.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
        signalSockets[0] = signalSockets[1] = -1;
        return false;
    }
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Restarting is safe: before the event loop runs the handler never
    // returns, and afterwards it wakes the loop through the pair (a poll is
    // never restarted). Calls in progress on other threads carry on instead
    // of failing with EINTR.
    action.sa_flags = SA_RESTART;
    for (int signalNumber : TERMINATION_SIGNALS) {
        // A player started under nohup was asked to outlive its terminal, so
        // a SIGHUP ignored from the start stays ignored. SIGINT, which a
        // script's shell ignores for a job it starts in the background, is
        // taken all the same: kill -INT still ends the player.
        struct sigaction previous = {};
        if (signalNumber == SIGHUP && ::sigaction(signalNumber, nullptr, &previous) == 0 &&
            previous.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(signalNumber, &action, nullptr);
    }
    return true;
}

void endOnTermination(QObject* context, std::function<void()> onTermination) {
    if (signalSockets[1] < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [end = std::move(onTermination)] {
                         // Signals that came together ask for one end.
                         char bytes[64];
                         while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
                         }
                         end();
                     });
    // A zero timer fires on the first pass of whichever loop runs first: the
    // window's own, or that of a box shown before it.
    QTimer::singleShot(0, context, [] { loopRunning.store(true); });
}

} // namespace kestrine::qt
