// A folder of plans written by the tool, such as those `murmex explore
// --write-plans` makes: all of them appear, as new files, or none does. A
// folder that already holds plans is refused, so that no plan of the
// author's is replaced and none left from an earlier run is mixed in with
// the new ones.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace murmex::tool {

// True when `folder` is missing (it will be made) or is a folder holding no
// file whose name ends in ".plan". `named` is how a refusal names it.
bool planFolderUsable(const std::filesystem::path& folder, const std::string& named,
                      std::string& error);

// Writes each text as STEM-001.plan, STEM-002.plan, ... into `folder`, made
// with any folders above it that are missing, numbered with as many digits
// as the last number needs (three at least) so that they sort in their
// order. Fills `paths` with the files written. False with the reason when
// any fails; whatever the run made is removed again then.
bool writePlanFolder(const std::filesystem::path& folder, const std::string& stem,
                     const std::vector<std::string>& texts, std::vector<std::string>& paths,
                     std::string& error);

} // namespace murmex::tool
