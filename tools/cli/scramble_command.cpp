// `murmex scramble` and `murmex unscramble`: one transform (exclusive-or with
// the key byte of each offset, its own inverse) with checks that catch the
// usual slips: the wrong direction, a typo that would overwrite a file.
#include "tools/cli/scramble_command.h"

#include "files/regular_file_source.h"
#include "murmex/magic_line.h"
#include "murmex/scrambling.h"

#include "tools/platform/file_output.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace murmex::tool {

namespace {

const char* commandName(ScrambleDirection direction) {
    return direction == ScrambleDirection::Scramble ? "scramble" : "unscramble";
}

// Bytes read and transformed at a time: memory stays the same for any size of input.
constexpr size_t BLOCK_SIZE = 64 * 1024;
// How much of the input's start the first-line test may read. The loader's
// first line is a few characters, but comments inside it may make it as long
// as they like; a first line longer than this is refused (--force skips the
// test), so that an input without one is not read whole into memory.
constexpr size_t FIRST_LINE_LIMIT = 1024 * 1024;

std::string cannotRead(const ScrambleOptions& options, const RegularFileSource& source) {
    return "cannot read " + options.input + ": " + source.problem();
}

// Reads the next block onto the end of `bytes`; false on a read error, with
// the reason in `error`. Nothing is appended at the end of the input.
bool readBlock(RegularFileSource& source, const ScrambleOptions& options, std::vector<char>& bytes,
               std::string& error) {
    const size_t before = bytes.size();
    bytes.resize(before + BLOCK_SIZE);
    const size_t got = source.read(reinterpret_cast<uint8_t*>(bytes.data() + before), BLOCK_SIZE);
    bytes.resize(before + got);
    if (source.failed()) {
        error = cannotRead(options, source);
        return false;
    }
    return true;
}

// Reads the start of the input into `start`, as far as the loader's
// first-line rule needs, and refuses an input that is already in the form
// the command produces. The loader itself decides: a prefix that passes
// passes for the whole file, so reading stops there.
bool readFittingStart(ScrambleDirection direction, const ScrambleOptions& options,
                      RegularFileSource& source, std::vector<char>& start, std::string& error) {
    const bool descramble = direction == ScrambleDirection::Unscramble;
    FirstLine first = FirstLine::Other;
    for (;;) {
        const size_t before = start.size();
        if (!readBlock(source, options, start, error)) {
            return false;
        }
        first = readFirstLine(start.data(), start.size(), descramble);
        // Line ends about to be converted may end the first line with a
        // line feed alone; so may a plain text got back, which check then
        // tells how to mend.
        if (first == FirstLine::Magic ||
            (first == FirstLine::MagicEndedByLineFeed && (options.crlf || descramble))) {
            return true;
        }
        if (start.size() == before || start.size() >= FIRST_LINE_LIMIT) {
            break;
        }
    }
    // Read the other way round, the start holds the magic: the input is
    // already in the form the command makes, which is almost surely a slip.
    const bool already = readFirstLine(start.data(), start.size(), !descramble) != FirstLine::Other;
    if (already) {
        error = options.input +
                (descramble ? ": is plain already: its first line is " + std::string(SCRIPT_MAGIC) +
                                  " as it stands; use --force to unscramble it anyway"
                            : ": is scrambled already: its first line descrambles to " +
                                  std::string(SCRIPT_MAGIC) +
                                  ", and the player reads it as it stands; use --force to "
                                  "scramble it again anyway");
    } else if (first == FirstLine::MagicEndedByLineFeed) {
        error = options.input + ": the first line ends with a line feed alone; use --crlf to "
                                "convert the line ends to CR LF while scrambling";
    } else if (direction == ScrambleDirection::Scramble) {
        error = options.input + ": first line is not " + SCRIPT_MAGIC +
                " followed by a carriage return (already scrambled?); use --force to "
                "scramble it anyway";
    } else {
        error = options.input + ": does not descramble to a first line " + SCRIPT_MAGIC +
                " (plain already?); use --force to unscramble it anyway";
    }
    return false;
}

// Gives every line feed that has no carriage return before it one.
// `previous` is the input's byte before the block, kept across blocks.
void convertLineEnds(std::vector<char>& bytes, char& previous) {
    std::vector<char> converted;
    converted.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
        if (c == '\n' && previous != '\r') {
            converted.push_back('\r');
        }
        converted.push_back(c);
        previous = c;
    }
    bytes.swap(converted);
}

// Transforms the bytes read so far and the rest of the input, block by
// block, into the output. A read error fails the whole output: a short one
// would pass for the script.
bool transformInto(FileOutput& output, const ScrambleOptions& options, RegularFileSource& source,
                   std::vector<char>& bytes, std::string& error) {
    uint64_t offset = 0;
    char previous = 0;
    for (;;) {
        if (options.crlf) {
            convertLineEnds(bytes, previous);
        }
        // Offsets past 4 GiB wrap; the key repeats every 256 bytes.
        scrambleBytes(bytes.data(), bytes.size(), static_cast<uint32_t>(offset));
        if (!output.write(bytes.data(), bytes.size(), error)) {
            return false;
        }
        offset += bytes.size();
        bytes.clear();
        if (!readBlock(source, options, bytes, error)) {
            return false;
        }
        if (bytes.empty()) {
            return true;
        }
    }
}

void addDirectionOptions(CLI::App& command, ChosenCommand& chosen, ScrambleDirection direction) {
    auto options = std::make_shared<ScrambleOptions>();
    command.add_flag("-f,--force", options->force,
                     "Replace an existing OUT and skip the test of IN's first line");
    if (direction == ScrambleDirection::Scramble) {
        command.add_flag("--crlf", options->crlf,
                         "Convert line ends to CR LF while scrambling (the first line must end "
                         "with a carriage return)");
    }
    command.add_option("IN", options->input, "File to read; never changed")->required();
    command.add_option("OUT", options->output, "File to write")->required();
    command.callback([options, &chosen, direction] {
        chosen.run = [options, direction](std::ostream&, std::ostream& err) {
            return runScramble(direction, *options, err);
        };
    });
}

} // namespace

int runScramble(ScrambleDirection direction, const ScrambleOptions& options, std::ostream& err) {
    const std::string prefix = std::string("murmex ") + commandName(direction) + ": ";
    if (sameFile(options.input, options.output)) {
        err << prefix << "IN and OUT are the same file: " << options.output << '\n';
        return EXIT_FAILED;
    }
    // Only a regular file has an end to stream to: a device or FIFO is
    // refused before anything is read or written.
    RegularFileSource source(options.input.c_str());
    if (!source.open()) {
        err << prefix << cannotRead(options, source) << '\n';
        return EXIT_FAILED;
    }
    std::vector<char> bytes;
    std::string error;
    FileOutput output;
    const bool ok = (options.force || readFittingStart(direction, options, source, bytes, error)) &&
                    output.begin(options.output, options.force, error) &&
                    transformInto(output, options, source, bytes, error) && output.publish(error);
    if (!ok) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

void addScrambleOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    addDirectionOptions(command, chosen, ScrambleDirection::Scramble);
}

void addUnscrambleOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    addDirectionOptions(command, chosen, ScrambleDirection::Unscramble);
}

} // namespace murmex::tool
