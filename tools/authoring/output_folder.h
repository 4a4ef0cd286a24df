// Output folders that a run makes and fills: the folder a name really leads
// to, and what one run made, so that a run that fails part-way (a full disk,
// say) takes it all away again and a retry finds the folder as the author
// left it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace murmex::tool {

// The folder the system would reach, its links followed and each ".." taken
// after them: "full/nothere/.." is "full" and is checked as such, where making
// it step by step would create "full/nothere" and write beside the author's
// files. The name as given, tidied, is kept where it leads to the same place,
// so that what is printed reads as the author wrote it.
bool resolveFolder(const std::string& given, std::filesystem::path& folder, std::string& error);

// Folders and files made by one run, removed again, newest first, when it
// goes away unless keep() was called.
class MadeSoFar {
  public:
    MadeSoFar() = default;
    MadeSoFar(const MadeSoFar&) = delete;
    MadeSoFar& operator=(const MadeSoFar&) = delete;
    ~MadeSoFar();

    // Makes the folder and those above it that are missing.
    bool makeFolder(const std::filesystem::path& folder, std::string& error);

    void madeFile(const std::filesystem::path& file) { made.push_back(file); }
    // Everything stays.
    void keep() { made.clear(); }

  private:
    std::vector<std::filesystem::path> made;
};

} // namespace murmex::tool
