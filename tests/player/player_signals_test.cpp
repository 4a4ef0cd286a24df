// The real kestrine under the offscreen platform ends on SIGTERM, SIGINT and
// SIGHUP with the status its run would have had: 0, as a normal close gives,
// with the conversation window up, and 255 while a load error box is up, as
// its dismissal gives. Before the fix the box's own loop went on and only
// SIGKILL ended the player.
#include "player/player_process.h"
#include "player/player_script.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct SignalCase {
    const char* name;
    int signal;
    // A plain script read as scrambled does not load: the error box is up.
    bool plain;
    int status;
};

// Processor ticks spent so far, and whether the process sleeps now.
bool sleepingTicks(pid_t pid, long& ticks) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // "pid (name) state ppid ..."; utime and stime are the 12th and 13th
    // fields after the name, which may hold blanks itself.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string state, skipped;
    fields >> state;
    for (int field = 0; field < 10; ++field) {
        fields >> skipped;
    }
    long user = 0, system = 0;
    fields >> user >> system;
    ticks = user + system;
    return state == "S";
}

// Waits until the player has settled in an event loop: asleep and using no
// processor for a while. False if it ended by itself first.
bool waitUntilSettled(pid_t pid) {
    long last = -1;
    int quiet = 0;
    for (const auto deadline = Clock::now() + 60s; Clock::now() < deadline && quiet < 6;) {
        std::this_thread::sleep_for(50ms);
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ADD_FAILURE() << "the player ended by itself with status " << status;
            return false;
        }
        long ticks = 0;
        quiet = sleepingTicks(pid, ticks) && ticks == last ? quiet + 1 : 0;
        last = ticks;
    }
    return quiet >= 6;
}

class PlayerEndsOnSignal : public ::testing::TestWithParam<SignalCase> {};

TEST_P(PlayerEndsOnSignal, WithTheStatusOfTheRun) {
    const SignalCase& test = GetParam();
    kestrine::testing::PlayerFolders folders;
    std::ofstream(folders.game() / "data.chr", std::ios::binary) << kestrine::testing::playerScript(
        R"("Intro" { { S = "0" N = "0" Q = "" A = "Hello." ACT = "ACT_NONE" }
                     { S = "0" N = "0" Q = "Again." A = "Hello." ACT = "ACT_NONE" } })");
    const pid_t player = ::fork();
    if (player == 0) {
        folders.enter();
        ::execl(KESTRINE_PLAYER, "kestrine", test.plain ? "-nd" : nullptr, nullptr);
        std::_Exit(127);
    }
    ASSERT_GT(player, 0);
    ASSERT_TRUE(waitUntilSettled(player));

    ::kill(player, test.signal);
    int status = 0;
    const auto deadline = Clock::now() + 5s;
    while (::waitpid(player, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(player, SIGKILL);
            ::waitpid(player, &status, 0);
            FAIL() << "the player went on after the signal";
        }
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), test.status);
}

INSTANTIATE_TEST_SUITE_P(Signals, PlayerEndsOnSignal,
                         ::testing::Values(SignalCase{"TermInWindow", SIGTERM, true, 0},
                                           SignalCase{"IntInWindow", SIGINT, true, 0},
                                           SignalCase{"HupInWindow", SIGHUP, true, 0},
                                           SignalCase{"TermInErrorBox", SIGTERM, false, 255},
                                           SignalCase{"IntInErrorBox", SIGINT, false, 255},
                                           SignalCase{"HupInErrorBox", SIGHUP, false, 255}),
                         [](const ::testing::TestParamInfo<SignalCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
