// Whole-or-nothing file output through a temporary file and a rename, which
// replaces the target in one step on the same file system.
#include "tools/authoring/file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace murmex::tool {

namespace fs = std::filesystem;

namespace {

// Permissions of a new output: what the user's umask allows of rw-rw-rw-, as
// for any file an editor creates. mkstemp alone would leave rw-------.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int descriptor, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<size_t>(result);
    }
    return true;
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

bool writeFileWhole(const std::string& path, const std::string& bytes, bool replace,
                    std::string& error) {
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code status;
    const fs::file_status folderStatus = fs::status(folder, status);
    if (folderStatus.type() == fs::file_type::not_found) {
        error = "folder " + folder.string() + " does not exist";
        return false;
    }
    if (!fs::is_directory(folderStatus)) {
        error = folder.string() + " is not a folder";
        return false;
    }
    const fs::file_status targetStatus = fs::status(target, status);
    if (fs::is_directory(targetStatus)) {
        error = path + " is a folder";
        return false;
    }
    if (fs::exists(targetStatus) && !fs::is_regular_file(targetStatus)) {
        // A device, pipe or socket: the rename would put a plain file in its
        // place (as root even /dev/null), and writing into it is not "whole".
        error = path + " is not a regular file";
        return false;
    }
    if (fs::exists(targetStatus) && !replace) {
        error = path + " already exists (use --force to replace it)";
        return false;
    }

    // A hidden name beside the target, so that the rename never crosses file systems.
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> temporaryName(pattern.begin(), pattern.end());
    temporaryName.push_back('\0');
    const int descriptor = ::mkstemp(temporaryName.data());
    if (descriptor < 0) {
        error = systemError("cannot write in " + folder.string());
        return false;
    }
    const mode_t mode = fs::exists(targetStatus)
                            ? static_cast<mode_t>(targetStatus.permissions() & fs::perms::mask)
                            : newFileMode();
    bool ok =
        writeAll(descriptor, bytes) && ::fchmod(descriptor, mode) == 0 && ::fsync(descriptor) == 0;
    if (!ok) {
        error = systemError("cannot write " + std::string(temporaryName.data()));
    }
    if (::close(descriptor) != 0 && ok) {
        error = systemError("cannot write " + std::string(temporaryName.data()));
        ok = false;
    }
    if (ok && std::rename(temporaryName.data(), path.c_str()) != 0) {
        error = systemError("cannot rename to " + path);
        ok = false;
    }
    if (!ok) {
        ::unlink(temporaryName.data());
    }
    return ok;
}

} // namespace murmex::tool
