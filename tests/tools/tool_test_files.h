// Scratch files for the tool's tests: a private folder per test that is
// removed afterwards, and scripts written with the line ends the format wants.
#pragma once

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

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A fresh folder for one test, named after it so that tests running at the
// same time never share files.
class ScratchFolder {
public:
    ScratchFolder() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "murmex-" + std::to_string(::getpid()) + "-" +
                           test->test_suite_name() + "-" + test->name();
        // Parameterised tests carry a '/' in their names.
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream file(path_ / name, std::ios::binary);
        file << bytes;
        return path(name);
    }

    // Names of everything in the folder, to catch leftovers.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace murmex::testing
