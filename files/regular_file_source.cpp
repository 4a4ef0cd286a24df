// Regular files opened without blocking, read with the system's own calls.
#include "files/regular_file_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace murmex {

namespace {

struct Kind {
    RegularFileSource::Refused refused;
    const char* text;
};

// What a name that is not a regular file leads to, for the refusal.
Kind kindOf(mode_t mode) {
    using Refused = RegularFileSource::Refused;
    if (S_ISDIR(mode)) {
        return {Refused::Folder, "it is a folder"};
    }
#ifdef S_ISFIFO
    if (S_ISFIFO(mode)) {
        return {Refused::Fifo, "it is a FIFO or pipe, not a regular file"};
    }
#endif
#ifdef S_ISSOCK
    if (S_ISSOCK(mode)) {
        return {Refused::Socket, "it is a socket, not a regular file"};
    }
#endif
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return {Refused::Device, "it is a device, not a regular file"};
    }
    return {Refused::Other, "it is not a regular file"};
}

} // namespace

RegularFileSource::~RegularFileSource() {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

bool RegularFileSource::open() noexcept {
    if (descriptor >= 0) {
        return true;
    }
    // Without O_NONBLOCK, opening a FIFO waits for a writer, and a signal
    // handler installed to restart calls would never end that wait.
    int opened = -1;
    do {
        opened = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_BINARY);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        const int openError = errno;
#ifdef _WIN32
        // Windows refuses to open a folder as a file and says only "Permission denied".
        struct stat named {};
        if (openError == EACCES && ::stat(fileName, &named) == 0 && S_ISDIR(named.st_mode)) {
            const Kind kind = kindOf(named.st_mode);
            refuse(kind.refused, kind.text);
            return false;
        }
#endif
        noteSystemError(openError);
        return false;
    }
    struct stat status {};
    if (::fstat(opened, &status) != 0) {
        noteSystemError(errno);
        ::close(opened);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        const Kind kind = kindOf(status.st_mode);
        refuse(kind.refused, kind.text);
        ::close(opened);
        return false;
    }
#ifdef F_GETFL
    // Reads from a regular file ignore the flag, but it has no reason to stay.
    const int flags = ::fcntl(opened, F_GETFL);
    if (flags >= 0) {
        ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK);
    }
#endif
    descriptor = opened;
    return true;
}

bool RegularFileSource::startPass() noexcept {
    if (!open()) {
        return false;
    }
    readFailed = false;
    if (::lseek(descriptor, 0, SEEK_SET) != 0) {
        noteSystemError(errno);
        return false;
    }
    return true;
}

size_t RegularFileSource::read(uint8_t* into, size_t capacity) noexcept {
    if (descriptor < 0 || readFailed) {
        return 0;
    }
    // One call reads at most what a signed size can say.
    constexpr size_t MOST_AT_ONCE = 1u << 30;
    const size_t wanted = capacity < MOST_AT_ONCE ? capacity : MOST_AT_ONCE;
    for (;;) {
        const auto got = ::read(descriptor, into, static_cast<unsigned>(wanted));
        if (got >= 0) {
            return static_cast<size_t>(got);
        }
        if (errno != EINTR) {
            noteSystemError(errno);
            readFailed = true;
            return 0;
        }
    }
}

void RegularFileSource::refuse(Refused kind, const char* text) noexcept {
    refusal = kind;
    std::snprintf(why, sizeof(why), "%s", text);
}

void RegularFileSource::noteSystemError(int errorNumber) noexcept {
    refuse(Refused::SystemError, std::strerror(errorNumber));
}

} // namespace murmex
