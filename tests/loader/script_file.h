// Script files for the loader's tests: a temporary folder that is removed
// again, and texts written into it as they stand or scrambled by offset.
#pragma once

#include "support/scrambled.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace murmex::testing {

class ScriptFolder {
  public:
    ScriptFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "murmex-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "no temporary folder";
        }
        folder = pattern;
    }
    ~ScriptFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;

    // A fresh path in the folder, not yet created.
    std::string path() { return (folder / ("script" + std::to_string(count++) + ".chr")).string(); }

    // Writes the text to a new file and returns its path.
    std::string write(const std::string& text, bool scramble = false) {
        const std::string file = path();
        std::ofstream out(file, std::ios::binary);
        out << (scramble ? scrambled(text) : text);
        return file;
    }

  private:
    std::filesystem::path folder;
    int count = 0;
};

// A complete header; what follows it starts on line 5.
inline const std::string HEADER = "MurmexSrcFile\r\n"
                                  "TITLE = \"The Old Mill\"\r\n"
                                  "COLOR = \"0\", \"0\", \"96\"\r\n"
                                  "T = \"255\", \"255\", \"200\"\r\n";

} // namespace murmex::testing
