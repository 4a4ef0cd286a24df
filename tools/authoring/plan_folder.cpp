// Plans as numbered new files in a folder, written whole through FileOutput.
#include "tools/authoring/plan_folder.h"

#include "tools/authoring/output_folder.h"
#include "tools/platform/file_output.h"

#include <algorithm>
#include <system_error>

namespace murmex::tool {

namespace {

namespace fs = std::filesystem;

constexpr const char* PLAN_SUFFIX = ".plan";

std::string numbered(const std::string& stem, size_t number, size_t digits) {
    std::string text = std::to_string(number);
    text.insert(0, digits > text.size() ? digits - text.size() : 0, '0');
    return stem + "-" + text + PLAN_SUFFIX;
}

} // namespace

bool planFolderUsable(const fs::path& folder, const std::string& named, std::string& error) {
    std::error_code code;
    const fs::file_status status = fs::status(folder, code);
    if (!fs::exists(status)) {
        return true;
    }
    if (!fs::is_directory(status)) {
        error = named + " exists and is no folder";
        return false;
    }
    fs::directory_iterator entry(folder, code);
    for (; !code && entry != fs::directory_iterator(); entry.increment(code)) {
        if (entry->path().extension() == PLAN_SUFFIX) {
            error = named + " already holds plans (" + entry->path().filename().string() +
                    "): remove them or name another folder";
            return false;
        }
    }
    if (code) {
        error = "cannot read " + named + ": " + code.message();
        return false;
    }
    return true;
}

bool writePlanFolder(const fs::path& folder, const std::string& stem,
                     const std::vector<std::string>& texts, std::vector<std::string>& paths,
                     std::string& error) {
    MadeSoFar made;
    if (!made.makeFolder(folder, error)) {
        return false;
    }
    const size_t digits = std::max<size_t>(3, std::to_string(texts.size()).size());
    std::vector<std::string> written;
    for (size_t i = 0; i < texts.size(); ++i) {
        const fs::path path = folder / numbered(stem, i + 1, digits);
        if (!writeFileWhole(path.string(), texts[i], false, error)) {
            return false;
        }
        made.madeFile(path);
        written.push_back(path.string());
    }
    made.keep();
    paths = std::move(written);
    return true;
}

} // namespace murmex::tool
