// Folders of its own for one run of the real kestrine: the game folder it
// plays in, and a home, XDG folders and a runtime folder nothing else uses.
#pragma once

#include "support/scratch_folder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace kestrine::testing {

class PlayerFolders {
  public:
    PlayerFolders() {
        for (const char* name : {"game", "home", "config", "cache", "data", "runtime"}) {
            std::filesystem::create_directory(root() / name);
        }
        // Qt wants its runtime folder private.
        std::filesystem::permissions(root() / "runtime", std::filesystem::perms::owner_all);
    }

    const std::filesystem::path& root() const { return scratch.folder(); }
    std::filesystem::path game() const { return root() / "game"; }

    // In the child, before it runs the player: the game folder as working
    // folder, the others as home and XDG folders, no display but the
    // offscreen one, and the signals that end the player at their default
    // action, whatever the test runner was started with.
    void enter() const {
        if (::chdir(game().c_str()) != 0) {
            std::_Exit(126);
        }
        ::setenv("HOME", (root() / "home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root() / "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (root() / "cache").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root() / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root() / "runtime").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
            std::signal(signalNumber, SIG_DFL);
        }
    }

  private:
    murmex::testing::ScratchFolder scratch;
};

} // namespace kestrine::testing
