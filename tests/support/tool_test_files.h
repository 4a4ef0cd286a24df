// Scratch files for the tool's tests: a private folder per test that is
// removed afterwards, and scripts written with the line ends the format wants.
#pragma once

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace murmex::testing {

// Lines joined with carriage return and line feed, the last one ended too.
inline std::string scriptText(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

// The smallest script with one character that can be talked to.
inline std::string smallScript() {
    return scriptText({
        "MurmexSrcFile",
        "TITLE = \"Small\"",
        "COLOR = \"1\", \"2\", \"3\"",
        "TEXTCOLOR = \"4\", \"5\", \"6\"",
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
        "}",
    });
}

} // namespace murmex::testing
