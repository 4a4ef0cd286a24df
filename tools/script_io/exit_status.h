// The exit statuses of every murmex program: the command line and the
// preview window it starts, so that scripts and editors read them alike.
#pragma once

namespace murmex::tool {

// The command did what was asked.
constexpr int EXIT_OK = 0;
// The command ran but something failed (a script did not load, a file was refused).
constexpr int EXIT_FAILED = 1;
// The command line itself was wrong.
constexpr int EXIT_USAGE = 2;
// A script being played failed where the window would show a message and quit.
constexpr int EXIT_SCRIPT_FAILED = 3;

} // namespace murmex::tool
