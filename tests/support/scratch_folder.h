// A private folder for one test, removed again afterwards, shared by every
// suite that writes scripts, plans or other files, and reading a file back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <stdlib.h>

namespace murmex::testing {

// Replaces the trailing XXXXXX of the pattern and creates that folder, which
// nobody had; false when no such folder could be made.
inline bool makeFreshFolder(std::string& pattern) {
#ifdef _WIN32
    // Windows has no mkdtemp; create_directory refuses a name that is taken.
    static std::mt19937 random{std::random_device{}()};
    const std::string stem = pattern.substr(0, pattern.size() - 6);
    for (int attempt = 0; attempt < 100; ++attempt) {
        pattern = stem + std::to_string(random() % 1000000);
        std::error_code error;
        if (std::filesystem::create_directory(pattern, error)) {
            return true;
        }
    }
    return false;
#else
    return ::mkdtemp(pattern.data()) != nullptr;
#endif
}

// A fresh folder, named after the running test so that a leftover says where
// it came from; mkdtemp keeps two folders apart even within one test.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string name = "murmex-";
        if (const ::testing::TestInfo* test =
                ::testing::UnitTest::GetInstance()->current_test_info()) {
            name += std::string(test->test_suite_name()) + "-" + test->name() + "-";
        }
        // Parameterised tests carry a '/' in their names.
        std::replace(name.begin(), name.end(), '/', '_');
        std::string pattern = (std::filesystem::temp_directory_path() / (name + "XXXXXX")).string();
        if (!makeFreshFolder(pattern)) {
            ADD_FAILURE() << "cannot create the scratch folder " << pattern;
        }
        path_ = pattern;
        // mkdtemp keeps everyone else out, but a test may run the tool as
        // another user on files it wrote here.
        std::error_code ignored;
        std::filesystem::permissions(
            path_,
            std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                std::filesystem::perms::others_exec,
            ignored);
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

    // Writes the bytes to the named file and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream file(path_ / name, std::ios::binary);
        file << bytes;
        return path(name);
    }

    // Names of everything in the folder, or in a folder inside it, sorted, to
    // catch leftovers.
    std::vector<std::string> entries(const std::string& inside = "") const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / inside)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

// The whole file as it stands on disk; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace murmex::testing
