// Whole-or-nothing file output through a temporary file beside the target.
// A rename replaces the target in one step on the same file system; without
// leave to replace, the file system itself refuses a name that is taken, so a
// file that appears at the target while the output is written is never lost.
#include "tools/platform/file_output.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

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

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string alreadyExists(const std::string& path) {
    return path + " already exists (use --force to replace it)";
}

#ifdef _WIN32
// Windows delivers no POSIX signals that end a run from outside (Ctrl+C ends
// a console program through its own handler thread), so there is nothing to
// block and no handler to install: a temporary file can be left behind there.
class CleanupSignalsBlocked {
  public:
    CleanupSignalsBlocked() = default;
    ~CleanupSignalsBlocked() {} // user-provided: holding one is no unused variable
    CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
    CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;
};

bool guardTemporary(const std::string&) {
    return false;
}

void releaseGuard() {
}

// MoveFileEx refuses a taken name in one step unless told to replace it; the
// names are UTF-8, the program's code page.
int moveFile(const char* from, const char* to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExA(from, to, flags)) {
        return 0;
    }
    const DWORD code = ::GetLastError();
    errno = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? EEXIST
            : code == ERROR_ACCESS_DENIED                             ? EACCES
                                                                      : EIO;
    return -1;
}

int placeWithoutReplacing(const char* from, const char* to) {
    return moveFile(from, to, false);
}

int placeReplacing(const char* from, const char* to) {
    return moveFile(from, to, true);
}

// The name itself; Windows' C library has no lstat, and a symbolic link there
// needs a privilege that the tool's users rarely hold.
int examineName(const char* path, struct stat* status) {
    return ::stat(path, status);
}

// Windows files carry no permission bits to copy; the bytes go to the disk.
bool settle(int descriptor, mode_t) {
    return ::_commit(descriptor) == 0;
}
#else
// The signals that end a run from the terminal or the system, and the
// temporary file a handler removes before the process ends. The name is set
// and cleared only while these signals are blocked, so a handler never sees
// half of it.
constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
constexpr size_t CLEANUP_SIGNAL_COUNT = sizeof(CLEANUP_SIGNALS) / sizeof(CLEANUP_SIGNALS[0]);
char guardedName[PATH_MAX] = {};
bool handlerInstalled[CLEANUP_SIGNAL_COUNT] = {};
struct sigaction previousAction[CLEANUP_SIGNAL_COUNT];

// Runs in the signal's context: async-signal-safe calls only. The action was
// reset to the default on entry (SA_RESETHAND) and the signal stays blocked
// until the handler returns, so raising it again ends the process with the
// status the signal alone would have given.
void removeTemporaryAndRaise(int signalNumber) {
    const int savedErrno = errno;
    if (guardedName[0] != '\0') {
        ::unlink(guardedName);
    }
    ::raise(signalNumber);
    errno = savedErrno;
}

// Holds back the cleanup signals for its lifetime; one that arrives meanwhile
// is delivered when the previous mask returns.
class CleanupSignalsBlocked {
  public:
    CleanupSignalsBlocked() {
        sigset_t signals;
        sigemptyset(&signals);
        for (const int signalNumber : CLEANUP_SIGNALS) {
            sigaddset(&signals, signalNumber);
        }
        ::sigprocmask(SIG_BLOCK, &signals, &previousMask);
    }
    ~CleanupSignalsBlocked() { ::sigprocmask(SIG_SETMASK, &previousMask, nullptr); }
    CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
    CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;

  private:
    sigset_t previousMask;
};

// Call with the cleanup signals blocked. False when another output holds the
// guard or the name does not fit (the system would have refused such a name).
bool guardTemporary(const std::string& name) {
    if (guardedName[0] != '\0' || name.size() >= sizeof(guardedName)) {
        return false;
    }
    std::memcpy(guardedName, name.c_str(), name.size() + 1);
    struct sigaction cleanup {};
    cleanup.sa_handler = removeTemporaryAndRaise;
    cleanup.sa_flags = SA_RESETHAND;
    sigemptyset(&cleanup.sa_mask);
    for (const int signalNumber : CLEANUP_SIGNALS) {
        sigaddset(&cleanup.sa_mask, signalNumber);
    }
    for (size_t i = 0; i < CLEANUP_SIGNAL_COUNT; ++i) {
        struct sigaction current {};
        // A signal the process ignores would not end it, and one it handles
        // is its own business.
        handlerInstalled[i] = ::sigaction(CLEANUP_SIGNALS[i], nullptr, &current) == 0 &&
                              current.sa_handler == SIG_DFL &&
                              ::sigaction(CLEANUP_SIGNALS[i], &cleanup, &previousAction[i]) == 0;
    }
    return true;
}

// Call with the cleanup signals blocked.
void releaseGuard() {
    for (size_t i = 0; i < CLEANUP_SIGNAL_COUNT; ++i) {
        if (handlerInstalled[i]) {
            ::sigaction(CLEANUP_SIGNALS[i], &previousAction[i], nullptr);
            handlerInstalled[i] = false;
        }
    }
    guardedName[0] = '\0';
}

// Gives the file at `from` the name `to` unless that name is taken by
// anything at all, in one step: renameat2 refuses a taken name, and where the
// file system or kernel lacks that, link() does, leaving the temporary name
// to remove.
int placeWithoutReplacing(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
#endif
    if (::link(from, to) != 0) {
        return -1;
    }
    ::unlink(from);
    return 0;
}

int placeReplacing(const char* from, const char* to) {
    return std::rename(from, to);
}

int examineName(const char* path, struct stat* status) {
    return ::lstat(path, status);
}

// Gives the file its permissions and puts its bytes on the disk.
bool settle(int descriptor, mode_t mode) {
    return ::fchmod(descriptor, mode) == 0 && ::fsync(descriptor) == 0;
}
#endif

} // namespace

bool FileOutput::begin(const std::string& path, bool replace, std::string& error) {
    discard();
    const fs::path targetPath(path);
    fs::path folder = targetPath.parent_path();
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
    struct stat resolved {};
    const bool resolves = ::stat(path.c_str(), &resolved) == 0;
    if (resolves && S_ISDIR(resolved.st_mode)) {
        error = path + " is a folder";
        return false;
    }
    if (resolves && !S_ISREG(resolved.st_mode)) {
        // A device, pipe or socket: the rename would put a plain file in its
        // place (as root even /dev/null), and writing into it is not "whole".
        error = path + " is not a regular file";
        return false;
    }
    // The name itself, not what it leads to: a symlink that leads nowhere,
    // or round in a loop, is still something the user put there.
    struct stat itself {};
    if (examineName(path.c_str(), &itself) == 0) {
        if (!replace) {
            error = alreadyExists(path);
            return false;
        }
    } else if (errno != ENOENT) {
        error = systemError("cannot examine " + path);
        return false;
    }

    // A hidden name beside the target, so that publishing never crosses file systems.
    std::string name = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    {
        // The name is guarded before any signal can end the process.
        const CleanupSignalsBlocked blocked;
        descriptor = ::mkstemp(name.data());
        if (descriptor < 0) {
            error = systemError("cannot write in " + folder.string());
            return false;
        }
        temporary = name;
        guarded = guardTemporary(temporary);
    }
    target = path;
    replacing = replace;
    mode = resolves ? static_cast<mode_t>(resolved.st_mode & 07777) : newFileMode();
    return true;
}

bool FileOutput::write(const void* bytes, size_t size, std::string& error) {
    if (descriptor < 0) {
        error = "no output is open";
        return false;
    }
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, next, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = systemError("cannot write " + temporary);
            discard();
            return false;
        }
        next += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool FileOutput::publish(std::string& error) {
    if (descriptor < 0) {
        error = "no output is open";
        return false;
    }
    bool ok = settle(descriptor, mode);
    if (!ok) {
        error = systemError("cannot write " + temporary);
    }
    if (::close(descriptor) != 0 && ok) {
        error = systemError("cannot write " + temporary);
        ok = false;
    }
    descriptor = -1;
    if (!ok) {
        discard();
        return false;
    }
    int placed = -1;
    int placeError = 0;
    {
        // A signal now must find the temporary either still there or gone
        // for good, never a stale name that the handler would remove.
        const CleanupSignalsBlocked blocked;
        placed = replacing ? placeReplacing(temporary.c_str(), target.c_str())
                           : placeWithoutReplacing(temporary.c_str(), target.c_str());
        placeError = errno;
        if (placed == 0) {
            forgetTemporary();
        }
    }
    if (placed != 0) {
        errno = placeError;
        if (placeError == EEXIST) {
            // Someone put a file there meanwhile; it stays.
            error = alreadyExists(target);
        } else {
            error = systemError((replacing ? "cannot rename to " : "cannot create ") + target);
        }
        discard();
        return false;
    }
    return true;
}

void FileOutput::discard() {
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
    if (temporary.empty()) {
        return;
    }
    const CleanupSignalsBlocked blocked;
    ::unlink(temporary.c_str());
    forgetTemporary();
}

void FileOutput::forgetTemporary() {
    if (guarded) {
        releaseGuard();
        guarded = false;
    }
    temporary.clear();
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code status;
    if (std::filesystem::equivalent(a, b, status)) {
        return true;
    }
    return std::filesystem::weakly_canonical(a, status) ==
           std::filesystem::weakly_canonical(b, status);
}

#ifdef _WIN32
// A file's identity on Windows: its volume and its index there.
bool identityOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION& identity) {
    return handle != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(handle, &identity);
}

bool isStandardInput(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION input;
    BY_HANDLE_FILE_INFORMATION named;
    const HANDLE standardInput = ::GetStdHandle(STD_INPUT_HANDLE);
    if (::GetFileType(standardInput) != FILE_TYPE_DISK || !identityOf(standardInput, input)) {
        return false;
    }
    const HANDLE file =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const bool known = identityOf(file, named);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    }
    return known && input.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           input.nFileIndexHigh == named.nFileIndexHigh &&
           input.nFileIndexLow == named.nFileIndexLow;
}
#else
bool isStandardInput(const std::string& path) {
    struct stat input;
    struct stat named;
    return ::fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode) &&
           ::stat(path.c_str(), &named) == 0 && input.st_dev == named.st_dev &&
           input.st_ino == named.st_ino;
}
#endif

bool writeFileWhole(const std::string& path, const std::string& bytes, bool replace,
                    std::string& error) {
    FileOutput output;
    return output.begin(path, replace, error) && output.write(bytes.data(), bytes.size(), error) &&
           output.publish(error);
}

} // namespace murmex::tool
