// Plain scripts for the player's tests.
#pragma once

#include <string>

namespace kestrine::testing {

// The magic line and a header with the colours 10, 20, 30 and 1, 2, 3.
inline std::string scriptWithHeader(const std::string& characters,
                                    const std::string& title = "Test Title") {
    return "MurmexSrcFile\r\nTITLE = \"" + title +
           "\"\r\nCOLOR = \"10\", \"20\", \"30\"\r\nTEXT = \"1\", \"2\", \"3\"\r\n" + characters;
}

} // namespace kestrine::testing
