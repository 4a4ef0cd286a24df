// The player writes nothing: the real kestrine runs the demo under the
// offscreen platform and strace, in a folder and a home of its own, and is
// then asked to end. Every file system call that would write (open for
// writing, create, rename, remove, link) is a failure, wherever it points,
// unless it goes to /dev or /proc.
#include "player/player_process.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using murmex::testing::readBytes;
using Clock = std::chrono::steady_clock;

// Calls that change the file system by name; open calls are judged by their flags.
constexpr const char* TRACED_CALLS =
    "execve,open,openat,openat2,creat,rename,renameat,renameat2,unlink,unlinkat,rmdir,"
    "mkdir,mkdirat,link,linkat,symlink,symlinkat,truncate,mknod,mknodat";
// How long the player gets to load and show the demo before it is asked to end.
constexpr auto SHOW_TIME = std::chrono::milliseconds(1500);
// Far beyond what start-up or closing takes, even in the sanitizer build.
constexpr auto PATIENCE = std::chrono::seconds(60);

// The places only the kernel makes up; writing there stores nothing.
bool harmlessPath(const std::string& path) {
    return path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
}

// One traced call that would write, or an empty string. strace runs with -y,
// so a directory descriptor shows the folder it stands for ("3</home/x>").
// A call counts even when it failed: on another machine it might not fail.
// The one exception is Qt's check that the runtime folder it was given
// exists, a mkdir that finds it there and creates nothing.
std::string writingCall(const std::string& line, const std::string& runtimeFolder) {
    // "PID name(arguments) = result"
    size_t at = 0;
    while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at]))) {
        ++at;
    }
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    const size_t open = line.find('(', at);
    if (at == 0 || open == std::string::npos) {
        return {};
    }
    const std::string name = line.substr(at, open - at);
    const std::string arguments = line.substr(open + 1);
    if (name == "execve") {
        return {};
    }
    if (name == "mkdir" && arguments.rfind("\"" + runtimeFolder + "\",", 0) == 0 &&
        arguments.find("= -1 EEXIST") != std::string::npos) {
        return {};
    }
    if (name == "open" || name == "openat" || name == "openat2") {
        bool writes = false;
        for (const char* flag :
             {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND", "O_TMPFILE"}) {
            writes = writes || arguments.find(flag) != std::string::npos;
        }
        if (!writes) {
            return {};
        }
    }
    // A leading directory descriptor, shown by -y as "3</some/folder>".
    std::string folder;
    const size_t digits = arguments.find_first_not_of("0123456789");
    if (digits != 0 && digits != std::string::npos && arguments[digits] == '<') {
        folder = arguments.substr(digits + 1, arguments.find('>', digits) - digits - 1);
    }
    // Every quoted argument is a path of the call.
    std::vector<std::string> paths;
    for (size_t quote = arguments.find('"'); quote != std::string::npos;
         quote = arguments.find('"', quote + 1)) {
        std::string path;
        for (++quote; quote < arguments.size() && arguments[quote] != '"'; ++quote) {
            if (arguments[quote] == '\\' && quote + 1 < arguments.size()) {
                ++quote;
            }
            path += arguments[quote];
        }
        paths.push_back(path);
    }
    for (const std::string& path : paths) {
        const std::string full =
            path.rfind('/', 0) == 0 || folder.empty() ? path : folder + "/" + path;
        if (!harmlessPath(full)) {
            return line;
        }
    }
    return paths.empty() ? line : std::string();
}

// The trace's calls, one per line. strace splits a call that another
// thread's call interrupts into "PID name(arguments <unfinished ...>" and,
// later, "PID <... name resumed>) = result"; such a call is joined again.
std::vector<std::string> tracedCalls(const std::string& trace) {
    const std::string unfinished = " <unfinished ...>";
    const std::string resumed = " resumed>";
    std::map<std::string, std::string> pending;
    std::vector<std::string> calls;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string pid = line.substr(0, line.find(' '));
        const size_t resumedAt = line.find(resumed);
        if (line.ends_with(unfinished)) {
            pending[pid] = line.substr(0, line.size() - unfinished.size());
        } else if (line.find("<... ") != std::string::npos && resumedAt != std::string::npos &&
                   pending.count(pid) != 0) {
            calls.push_back(pending[pid] + line.substr(resumedAt + resumed.size()));
            pending.erase(pid);
        } else {
            calls.push_back(line);
        }
    }
    // A call still unfinished when the trace ended is judged as it stands.
    for (const auto& [pid, call] : pending) {
        calls.push_back(call);
    }
    return calls;
}

struct TracedRun {
    int status = -1;
    std::string trace;
};

class PlayerWritesNothing : public ::testing::Test {
  protected:
    void SetUp() override { fs::copy_file(MURMEX_DEMO_DATA, root / "game" / "data.chr"); }

    // Starts the player under strace, waits until it has opened data.chr
    // (it reads it for both passes of the load) and shown its window, then
    // sends SIGTERM.
    TracedRun runPlayer() {
        const fs::path log = root / "trace.log";
        const pid_t tracer = ::fork();
        if (tracer == 0) {
            enterPlayerEnvironment();
            ::execlp("strace", "strace", "-f", "-qq", "-y", "-s", "4096", "-e",
                     (std::string("trace=") + TRACED_CALLS).c_str(), "-e", "signal=none", "-o",
                     log.c_str(), KESTRINE_PLAYER, static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        TracedRun run;
        if (tracer < 0) {
            ADD_FAILURE() << "fork failed";
            return run;
        }
        const auto deadline = Clock::now() + PATIENCE;
        pid_t player = 0;
        bool loaded = false;
        while (Clock::now() < deadline && !loaded) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const std::string trace = readBytes(log);
            // The first traced call is the player's own execve, led by its pid.
            if (player == 0 && trace.find(" execve(") != std::string::npos) {
                player = std::atoi(trace.c_str());
            }
            loaded = trace.find("data.chr\"") != std::string::npos;
            int status = 0;
            if (::waitpid(tracer, &status, WNOHANG) == tracer) {
                ADD_FAILURE()
                    << (WIFEXITED(status) && WEXITSTATUS(status) == 127
                            ? "strace could not be started (tools/install_deps.sh installs it)"
                            : "the player ended by itself:\n" + trace);
                run.status = status;
                return run;
            }
        }
        EXPECT_TRUE(loaded) << "the player never opened data.chr";
        std::this_thread::sleep_for(SHOW_TIME);
        if (player > 0) {
            ::kill(player, SIGTERM);
        }
        int status = 0;
        while (::waitpid(tracer, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline + PATIENCE) {
                ADD_FAILURE() << "the player did not end after SIGTERM";
                // Never pid 0, which would mean the whole process group.
                if (player > 0) {
                    ::kill(player, SIGKILL);
                }
                ::kill(tracer, SIGKILL);
                ::waitpid(tracer, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        run.status = status;
        run.trace = readBytes(log);
        return run;
    }

    // In the child: the player's own folders, under a tracer.
    void enterPlayerEnvironment() const {
        player.enter();
        // LeakSanitizer can't work under a tracer; the other tests check leaks.
        const char* asan = std::getenv("ASAN_OPTIONS");
        ::setenv("ASAN_OPTIONS",
                 (std::string(asan != nullptr ? asan : "") + ":detect_leaks=0").c_str(), 1);
    }

    // Every file and folder below `folder`, relative to it.
    std::vector<std::string> contents(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            names.push_back(fs::relative(entry.path(), folder).string());
        }
        return names;
    }

    kestrine::testing::PlayerFolders player;
    const fs::path root = player.root();
};

TEST_F(PlayerWritesNothing, WhilePlayingTheDemoAndClosing) {
    const TracedRun run = runPlayer();
    ASSERT_FALSE(run.trace.empty());
    // SIGTERM closes the window like its cancel button: a normal exit.
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)
        << "status " << run.status << "\n"
        << run.trace;

    std::string writes;
    for (const std::string& line : tracedCalls(run.trace)) {
        const std::string call = writingCall(line, (root / "runtime").string());
        if (!call.empty()) {
            writes += call + "\n";
        }
    }
    EXPECT_EQ(writes, "") << "the player wrote to the file system";
    EXPECT_EQ(contents(root / "game"), std::vector<std::string>{"data.chr"});
    for (const char* folder : {"home", "config", "cache", "data", "runtime"}) {
        EXPECT_EQ(contents(root / folder), std::vector<std::string>{}) << folder;
    }
}

TEST(WritingCall, TellsWritesFromReads) {
    const std::string runtime = "/r";
    const auto writes = [&runtime](const std::string& line) {
        return !writingCall(line, runtime).empty();
    };
    EXPECT_FALSE(writes("7 openat(AT_FDCWD, \"data.chr\", O_RDONLY) = 3</g/data.chr>"));
    EXPECT_TRUE(writes("7 openat(AT_FDCWD, \"/h/.cache/x\", O_WRONLY|O_CREAT, 0666) = 4"));
    EXPECT_TRUE(writes("7 openat(AT_FDCWD, \"save\", O_RDWR) = 4"));
    EXPECT_FALSE(writes("7 openat(AT_FDCWD, \"/dev/shm/q\", O_RDWR|O_CREAT, 0600) = 4"));
    EXPECT_TRUE(writes("7 openat(5</tmp/x>, \"y\", O_WRONLY|O_CREAT, 0600) = 6"));
    EXPECT_FALSE(writes("7 openat(5</proc/self>, \"y\", O_WRONLY) = 6"));
    EXPECT_TRUE(writes("7 mkdir(\"/h/.cache\", 0700) = -1 EEXIST (File exists)"));
    EXPECT_FALSE(writes("7 mkdir(\"/r\", 0700) = -1 EEXIST (File exists)"));
    EXPECT_TRUE(writes("7 mkdir(\"/r\", 0700) = 0"));
    EXPECT_TRUE(writes("7 renameat2(AT_FDCWD, \"a\", AT_FDCWD, \"b\", 0) = 0"));
    EXPECT_TRUE(writes("7 unlink(\"/tmp/lock\") = 0"));
    EXPECT_FALSE(writes("7 execve(\"/bin/kestrine\", [\"kestrine\"], 0x1 /* 3 vars */) = 0"));
    // A call split by another thread's is judged whole.
    EXPECT_EQ(tracedCalls("7 openat(AT_FDCWD, \"f\", O_RDONLY <unfinished ...>\n"
                          "8 openat(AT_FDCWD, \"g\", O_WRONLY) = 4\n"
                          "7  <... openat resumed>) = -1 ENOENT (No such file)\n"),
              (std::vector<std::string>{
                  "8 openat(AT_FDCWD, \"g\", O_WRONLY) = 4",
                  "7 openat(AT_FDCWD, \"f\", O_RDONLY) = -1 ENOENT (No such file)"}));
}

} // namespace
