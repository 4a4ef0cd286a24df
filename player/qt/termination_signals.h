// Ending the player when the process is asked to end (SIGTERM from a session
// manager or kill, SIGINT from Ctrl+C in a terminal, SIGHUP when the terminal
// goes), whatever state it is in.
//
// It works in two stages. Until an event loop runs, nothing is on screen and
// nothing needs undoing, so the handler ends the process at once with status
// 0, what a normal close gives. That also ends a start-up stuck in a blocking
// call, which the signal would otherwise only interrupt for the call to be
// made again. Once an event loop runs, the handler only writes one byte into
// a socket pair, which is all a signal handler may safely do there; a notifier
// on the other end calls the player back on the event loop, and the player
// closes in order with the status its run would have had.
#pragma once

#include <QObject>

#include <functional>

namespace kestrine::qt {

// Installs the handler for the three signals. Call it first in main, before
// anything that might block. Calling it again changes nothing. False if the
// socket pair can't be made, in which case the signals keep their default
// action.
bool installTerminationHandler();

// Once the application object exists: from the first pass of an event loop
// on, each of the signals calls onTermination there. Any loop of the thread
// serves the notifier, so this also happens while a modal box runs its own
// loop. The notifier belongs to context and goes with it.
void endOnTermination(QObject* context, std::function<void()> onTermination);

} // namespace kestrine::qt
