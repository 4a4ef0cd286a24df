// Closing the player when the process is asked to end (SIGTERM from a session
// manager or kill, SIGINT from Ctrl+C in a terminal, SIGHUP when the terminal
// goes): the window closes as through its cancel button, so the modal run ends
// and everything the window owns is destroyed in order, as on a normal close.
#pragma once

#include <QDialog>

namespace kestrine::qt {

// Routes the three signals to dialog->reject() on the event loop. The signal
// handler itself only writes one byte into a socket pair, which is all a
// signal handler may safely do; a notifier on the other end does the closing.
// Call once, after the application object exists. False if the socket pair
// can't be made, in which case the signals keep their default action.
bool closeOnTermination(QDialog* dialog);

} // namespace kestrine::qt
