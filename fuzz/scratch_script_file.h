// The file a fuzzer's input is written to before the loader reads it: the
// loader takes a file name, so every input has to pass through a file. It
// lives in a folder of this process in memory-backed /dev/shm where there is
// one, so writing it costs next to nothing, and the folder goes at exit.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace murmex::fuzz {

class ScratchScriptFile {
public:
    ScratchScriptFile() {
        std::error_code status;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, status)) {
            base = std::filesystem::temp_directory_path(status);
        }
        folder = base / ("murmex-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder, status);
        if (status) {
            std::fprintf(stderr, "cannot create %s\n", folder.c_str());
            std::abort();
        }
    }
    ~ScratchScriptFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchScriptFile(const ScratchScriptFile&) = delete;
    ScratchScriptFile& operator=(const ScratchScriptFile&) = delete;

    // Replaces the file called `name` in the folder with the bytes; returns its path.
    std::string write(const char* name, const unsigned char* data, size_t size) {
        const std::string path = (folder / name).string();
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || (size != 0 && std::fwrite(data, 1, size, file) != size) ||
            std::fclose(file) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::abort();
        }
        return path;
    }

private:
    std::filesystem::path folder;
};

} // namespace murmex::fuzz
