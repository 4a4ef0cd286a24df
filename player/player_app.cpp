// The command-line tail and the plain-script switch.
#include "player/player_app.h"

namespace kestrine {

namespace {
constexpr std::string_view PLAIN_SWITCHES[] = {"/nd", "-nd", "nd"};

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t i = 0; i < left.size(); ++i) {
        if (asciiLower(left[i]) != asciiLower(right[i])) {
            return false;
        }
    }
    return true;
}
} // namespace

std::string commandLineTail(int argc, const char* const* argv) {
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            tail += ' ';
        }
        tail += argv[i];
    }
    size_t start = 0;
    while (start < tail.size() && static_cast<unsigned char>(tail[start]) >= 1 &&
           static_cast<unsigned char>(tail[start]) <= 32) {
        ++start;
    }
    return tail.substr(start);
}

bool selectsPlainScripts(std::string_view tail) {
    for (std::string_view candidate : PLAIN_SWITCHES) {
        if (equalIgnoringAsciiCase(tail, candidate)) {
            return true;
        }
    }
    return false;
}

} // namespace kestrine
