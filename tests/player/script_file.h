// Writes a plain script into a fresh temporary folder for one test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kestrine::testing {

// The magic line and a header with the colours 10, 20, 30 and 1, 2, 3.
inline std::string scriptWithHeader(const std::string& characters,
                                    const std::string& title = "Test Title") {
    return "MurmexSrcFile\r\nTITLE = \"" + title +
           "\"\r\nCOLOR = \"10\", \"20\", \"30\"\r\nTEXT = \"1\", \"2\", \"3\"\r\n" + characters;
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrine-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }

    std::string write(const std::string& name, const std::string& contents) const {
        const std::filesystem::path file = path / name;
        std::ofstream(file, std::ios::binary) << contents;
        return file.string();
    }

    std::filesystem::path path;
};

} // namespace kestrine::testing
