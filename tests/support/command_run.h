// What a command of the tool printed and the status it ended with, whether
// its run function was called directly or the built binary was run.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>

namespace murmex::testing {

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

// Calls `run` with fresh output and error streams and keeps what it wrote to
// them, for run functions whose arguments differ from the usual shape below.
template <typename Run> CommandRun runCommand(Run&& run) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(out, err);
    return {status, out.str(), err.str()};
}

// A run function of the usual shape: its options, then the two streams.
template <typename Options>
CommandRun runCommand(int (*run)(const Options&, std::ostream&, std::ostream&),
                      const std::type_identity_t<Options>& options) {
    return runCommand([&](std::ostream& out, std::ostream& err) { return run(options, out, err); });
}

} // namespace murmex::testing
