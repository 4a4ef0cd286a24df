// Where a command's script comes from: a regular file named on the command
// line, or standard input when the name is "-". A pipe can't be read twice,
// as the loader reads, so standard input is read once into memory, up to a
// bound, and every use of "-" in the run loads from those bytes.
#pragma once

#include "murmex/script_source.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace murmex {
class RegularFileSource;
}

namespace murmex::tool {

// The name that stands for standard input.
inline constexpr const char* STANDARD_INPUT_NAME = "-";

// The most a script given on standard input may hold: far above any real
// script, low enough that an endless stream can't exhaust memory.
constexpr size_t STANDARD_INPUT_LIMIT = size_t{256} << 20;

// True when "-" stands more than once among the names: one standard input
// can't be two files, and a command that takes several names refuses it.
bool standardInputNamedTwice(const std::vector<std::string>& names);

class ScriptInput {
  public:
    ScriptInput();
    ~ScriptInput();
    ScriptInput(const ScriptInput&) = delete;
    ScriptInput& operator=(const ScriptInput&) = delete;

    // Opens the named script, or reads standard input for "-". False, with
    // problem() saying why, when it can't.
    bool open(const std::string& name);
    // The script's bytes, from the start at every pass. Valid after open.
    ScriptSource& source();
    // Why opening or reading failed, in a few words; empty otherwise.
    std::string problem() const;

  private:
    std::unique_ptr<RegularFileSource> file;
    std::unique_ptr<MemorySource> memory;
    std::string why;
};

// Reads the whole source from its start, at most `limit` bytes. False when it
// can't be read or is larger; `error` says why where more is known than the
// source's own problem.
bool readWholeSource(ScriptSource& source, size_t limit, std::string& bytes, std::string& error);

// Reads a whole regular file of at most `limit` bytes. False, with the
// reason in `error`, when it can't be read or is larger.
bool readWholeFile(const std::string& path, size_t limit, std::string& bytes, std::string& error);

// Up to `limit` bytes from the source's start; fewer when it ends sooner.
std::string readStart(ScriptSource& source, size_t limit);

} // namespace murmex::tool
