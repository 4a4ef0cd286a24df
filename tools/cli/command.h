// What every murmex command shares: its exit statuses and the way it joins the
// tool's command line. A command lives in a file of its own and offers
//   - a run function that takes its options and output streams and returns
//     the exit status, for tests and other tools to call, and
//   - an add function of type AddCommand that registers it with the tool.
#pragma once

namespace CLI {
class App;
}

namespace murmex::tool {

// The command did what was asked.
constexpr int EXIT_OK = 0;
// The command ran but something failed (a script did not load, a file was refused).
constexpr int EXIT_FAILED = 1;
// The command line itself was wrong.
constexpr int EXIT_USAGE = 2;
// A script being played failed where the window would show a message and quit.
constexpr int EXIT_SCRIPT_FAILED = 3;

// Adds one command to the tool. When the command line selects it, the
// command runs during parsing and stores its status in `exitStatus`.
using AddCommand = void (*)(CLI::App& app, int& exitStatus);

} // namespace murmex::tool
