// A disk of 16 KiB for tests of what a command does when the disk fills up,
// mounted where the system lets the test mount (as root, mostly).
#pragma once

#include <filesystem>
#include <string>

#include <sys/mount.h>

namespace murmex::testing {

class SmallDisk {
  public:
    explicit SmallDisk(const std::string& where) : path(where) {
        std::filesystem::create_directory(path);
        mounted = ::mount("murmex-test", path.c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~SmallDisk() {
        if (mounted) {
            ::umount(path.c_str());
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    std::string path;
    bool mounted = false;
};

} // namespace murmex::testing
