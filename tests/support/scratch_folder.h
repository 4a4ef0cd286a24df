// A private folder for one test, removed again afterwards, shared by the
// suites that write scripts and other files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace murmex::testing {

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

    // The folder itself, and a name inside it.
    const std::filesystem::path& folder() const { return path_; }
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
