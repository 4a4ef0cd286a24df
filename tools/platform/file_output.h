// Writing an output file so that it either appears whole or not at all, and
// never in place of a file that someone else put there meanwhile.
#pragma once

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace murmex::tool {

// An output written piece by piece into a temporary file beside its target,
// then published at the target in one step. Until it is published the
// temporary file is removed on any failure, when the object goes away, and
// when SIGINT, SIGTERM or SIGHUP ends the process (signals the process
// ignores or handles itself are left alone). One output per process is
// guarded against signals at a time; the tool never writes two at once.
class FileOutput {
  public:
    FileOutput() = default;
    ~FileOutput() { discard(); }
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // Checks the target and creates the temporary file. A folder or anything
    // else that is no regular file is refused, and so is anything at all at
    // the target (a dangling or looping symlink too) unless `replace` is set.
    bool begin(const std::string& path, bool replace, std::string& error);
    // Appends bytes to the temporary file.
    bool write(const void* bytes, size_t size, std::string& error);
    // Flushes the bytes to disk and puts the file at the target. With
    // `replace` a rename replaces whatever is there; without it, something
    // that appeared at the target since begin() is kept and the output fails.
    bool publish(std::string& error);
    // Removes the temporary file, if there is one.
    void discard();

    // The temporary file while it exists, otherwise empty.
    const std::string& temporaryPath() const { return temporary; }

  private:
    void forgetTemporary();

    std::string target;
    std::string temporary;
    int descriptor = -1;
    bool replacing = false;
    bool guarded = false;
    mode_t mode = 0;
};

// True when the two paths name one file: the same file already, or, where
// either is missing, the same path once both are made canonical. An output
// must never be one of the command's inputs.
bool sameFile(const std::string& a, const std::string& b);

// True when `path` names the regular file standard input reads, such as the
// one a shell redirects with <: its bytes are an input as much as a named
// one's. A device (/dev/null, a terminal) is no such file.
bool isStandardInput(const std::string& path);

// Writes `bytes` through a FileOutput: the whole file appears at `path`, or
// nothing does, and `error` says what went wrong.
bool writeFileWhole(const std::string& path, const std::string& bytes, bool replace,
                    std::string& error);

} // namespace murmex::tool
