// Resolving an output folder's name, and taking back what a failed run made.
#include "tools/authoring/output_folder.h"

#include <system_error>

namespace murmex::tool {

namespace {

namespace fs = std::filesystem;

// The whole path from the root with links followed as far as it exists, and
// without a trailing separator, so that two spellings of one folder compare
// equal. weakly_canonical alone leaves a path that exists nowhere relative.
fs::path resolvedPath(const fs::path& path, std::error_code& code) {
    const fs::path absolute = fs::absolute(path, code);
    if (code) {
        return absolute;
    }
    const fs::path resolved = fs::weakly_canonical(absolute, code);
    return resolved.has_filename() || !resolved.has_relative_path() ? resolved
                                                                    : resolved.parent_path();
}

} // namespace

bool resolveFolder(const std::string& given, fs::path& folder, std::string& error) {
    std::error_code code;
    const fs::path resolved = resolvedPath(given, code);
    if (code) {
        error = "cannot resolve " + given + ": " + code.message();
        return false;
    }
    folder = fs::path(given).lexically_normal();
    if (resolvedPath(folder, code) != resolved || code) {
        folder = resolved;
    }
    return true;
}

MadeSoFar::~MadeSoFar() {
    std::error_code ignored;
    for (auto path = made.rbegin(); path != made.rend(); ++path) {
        fs::remove(*path, ignored);
    }
}

bool MadeSoFar::makeFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    if (folder.empty() || fs::is_directory(folder, code)) {
        return true;
    }
    if (!makeFolder(folder.parent_path(), error)) {
        return false;
    }
    if (fs::create_directory(folder, code)) {
        made.push_back(folder);
    } else if (code) {
        error = "cannot make " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

} // namespace murmex::tool
