// Measures how long the player takes from process start until its window
// first shows the demo's answer, against a bare Qt dialog of the same size
// started the same way, both under the offscreen platform.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs the probe once; the time until it reports its first paint, in ms.
double timeOneStart(const char* probe, const char* mode) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    // Qt's notes on standard error would only clutter the report.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* arguments[] = {const_cast<char*>(probe), const_cast<char*>(mode), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, probe, &actions, nullptr, arguments, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    close(channel[1]);
    char line[16];
    const ssize_t got = read(channel[0], line, sizeof(line));
    const auto shown = std::chrono::steady_clock::now();
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (got <= 0) {
        std::fprintf(stderr, "%s %s did not report its window\n", probe, mode);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(shown - started).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: startup_bench PROBE [RUNS]  (run in a folder with data.chr)\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // One start of each first, so both find the libraries and fonts cached.
    timeOneStart(argv[1], "player");
    timeOneStart(argv[1], "bare");
    std::vector<double> player, bare;
    for (int i = 0; i < runs; ++i) {
        player.push_back(timeOneStart(argv[1], "player"));
        bare.push_back(timeOneStart(argv[1], "bare"));
    }
    std::printf("start until the window shows (median of %d, offscreen):\n", runs);
    std::printf("  kestrine on the demo: %.1f ms\n", median(player));
    std::printf("  bare Qt dialog:       %.1f ms\n", median(bare));
    return 0;
}
