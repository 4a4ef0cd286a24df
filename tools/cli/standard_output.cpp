// Checked writes to standard output.
#include "tools/cli/standard_output.h"

#include <cerrno>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#ifdef _WIN32
#include <io.h>
#endif

namespace murmex::tool {

namespace {
#ifdef _WIN32
constexpr const char* NULL_DEVICE = "NUL";

bool isOpen(int descriptor) {
    return ::_get_osfhandle(descriptor) != -1;
}
#else
constexpr const char* NULL_DEVICE = "/dev/null";

bool isOpen(int descriptor) {
    return ::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}
#endif
} // namespace

void holdStandardDescriptors() {
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (isOpen(descriptor)) {
            continue;
        }
        // open() takes the lowest free descriptor, and every lower one is
        // held by now: this is the closed one.
        ::open(NULL_DEVICE, descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
#ifdef _WIN32
    // A script read from standard input keeps its bytes: text mode would
    // drop the carriage returns and stop at a Ctrl+Z.
    ::_setmode(STDIN_FILENO, O_BINARY);
#endif
}

StandardOutput::Buffer::Buffer() {
    setp(space, space + SIZE);
}

StandardOutput::Buffer::int_type StandardOutput::Buffer::overflow(int_type byte) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(byte);
        pbump(1);
    }
    return traits_type::not_eof(byte);
}

int StandardOutput::Buffer::sync() {
    return drain() ? 0 : -1;
}

bool StandardOutput::Buffer::drain() {
    const char* next = pbase();
    while (firstError == 0 && next < pptr()) {
        const ssize_t written = ::write(STDOUT_FILENO, next, static_cast<size_t>(pptr() - next));
        if (written > 0) {
            next += written;
        } else if (written < 0 && errno != EINTR) {
            firstError = errno;
        } else if (written == 0) {
            firstError = EIO;
        }
    }
    setp(space, space + SIZE);
    return firstError == 0;
}

StandardOutput::StandardOutput() : previous(std::cout.rdbuf(&buffer)) {
}

StandardOutput::~StandardOutput() {
    std::cout.rdbuf(previous);
}

int StandardOutput::finish() {
    std::cout.flush();
    int error = buffer.error();
    if (error == 0 && std::cout.fail()) {
        // Failed without a write that failed: the output is incomplete all
        // the same.
        error = EIO;
    }
    // A file system may report a failed write only when the file is closed.
    // A closed descriptor that nothing was written to lost nothing, and a
    // close interrupted by a signal has closed it all the same.
    if (::close(STDOUT_FILENO) != 0 && error == 0 && errno != EBADF && errno != EINTR) {
        error = errno;
    }
    return error;
}

} // namespace murmex::tool
