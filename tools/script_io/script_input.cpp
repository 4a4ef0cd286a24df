// Opening a command's script, and bounded reads of whole files.
#include "tools/script_io/script_input.h"

#include "files/regular_file_source.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace murmex::tool {

namespace {

std::string sizeInWords(size_t limit) {
    return limit >= (size_t{1} << 20) ? std::to_string(limit >> 20) + " MiB"
                                      : std::to_string(limit) + " bytes";
}

// Reads from the source's start into `bytes` until it ends or `limit` bytes
// are in. False when the source can't be started or a read fails.
bool readFromStart(ScriptSource& source, size_t limit, std::string& bytes) {
    bytes.clear();
    if (!source.startPass()) {
        return false;
    }
    uint8_t block[64 * 1024];
    while (bytes.size() < limit) {
        const size_t wanted = std::min(sizeof(block), limit - bytes.size());
        const size_t got = std::min(source.read(block, wanted), wanted);
        if (got == 0) {
            break;
        }
        bytes.append(reinterpret_cast<const char*>(block), got);
    }
    source.endPass();
    return !source.failed();
}

} // namespace

bool readWholeSource(ScriptSource& source, size_t limit, std::string& bytes, std::string& error) {
    // One byte past the limit tells a source that has more from one that
    // ends just there.
    if (!readFromStart(source, limit + 1, bytes)) {
        return false;
    }
    if (bytes.size() > limit) {
        error = "it holds more than " + sizeInWords(limit);
        return false;
    }
    return true;
}

namespace {

// Standard input as a source: read once, front to back.
class StandardInput final : public ScriptSource {
  public:
    bool startPass() noexcept override { return true; }
    size_t read(uint8_t* into, size_t capacity) noexcept override {
        const size_t got = std::fread(into, 1, capacity, stdin);
        broken = got == 0 && std::ferror(stdin) != 0;
        return got;
    }
    bool failed() const noexcept override { return broken; }

  private:
    bool broken = false;
};

// Standard input, read whole at its first use in the run; every later use
// gets the same bytes, as a second read would find the stream used up.
// False, with the reason, when it could not be read.
bool standardInputBytes(const std::string*& bytes, std::string& why) {
    static std::string read;
    static std::string problem;
    static bool done = false;
    if (!done) {
        done = true;
        StandardInput input;
        if (!readWholeSource(input, STANDARD_INPUT_LIMIT, read, problem)) {
            problem = "standard input: " + (problem.empty() ? std::strerror(errno) : problem);
        }
    }
    bytes = &read;
    why = problem;
    return problem.empty();
}

} // namespace

bool standardInputNamedTwice(const std::vector<std::string>& names) {
    return std::count(names.begin(), names.end(), STANDARD_INPUT_NAME) > 1;
}

ScriptInput::ScriptInput() = default;
ScriptInput::~ScriptInput() = default;

bool ScriptInput::open(const std::string& name) {
    if (name == STANDARD_INPUT_NAME) {
        const std::string* bytes = nullptr;
        if (!standardInputBytes(bytes, why)) {
            return false;
        }
        memory = std::make_unique<MemorySource>(bytes->data(), bytes->size());
        return true;
    }
    file = std::make_unique<RegularFileSource>(name.c_str());
    if (!file->open()) {
        why = file->problem();
        if (file->refused() == RegularFileSource::Refused::Fifo) {
            why += std::string(" (give ") + STANDARD_INPUT_NAME + " to read standard input)";
        }
        return false;
    }
    return true;
}

ScriptSource& ScriptInput::source() {
    if (memory) {
        return *memory;
    }
    return *file;
}

std::string ScriptInput::problem() const {
    if (!why.empty()) {
        return why;
    }
    return file ? file->problem() : "";
}

bool readWholeFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) {
    RegularFileSource file(path.c_str());
    if (!file.open()) {
        error = file.problem();
        return false;
    }
    if (!readWholeSource(file, limit, bytes, error)) {
        if (error.empty()) {
            error = file.problem();
        }
        return false;
    }
    return true;
}

std::string readStart(ScriptSource& source, size_t limit) {
    std::string bytes;
    readFromStart(source, limit, bytes);
    return bytes;
}

} // namespace murmex::tool
