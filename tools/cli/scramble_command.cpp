// `murmex scramble` and `murmex unscramble`: one transform (exclusive-or with
// the key byte of each offset, its own inverse) with checks that catch the
// usual slips: the wrong direction, a typo that would overwrite a file.
#include "tools/cli/scramble_command.h"

#include "murmex/magic_line.h"

#include "tools/analysis/script_bytes.h"
#include "tools/analysis/script_input.h"
#include "tools/authoring/file_output.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

const char* commandName(ScrambleDirection direction) {
    return direction == ScrambleDirection::Scramble ? "scramble" : "unscramble";
}

// Refuses an input that is already in the form the command produces.
bool inputFits(ScrambleDirection direction, const ScrambleOptions& options,
               const std::string& bytes, std::string& error) {
    if (direction == ScrambleDirection::Scramble) {
        if (!firstLineIsMagic(bytes, false)) {
            error = options.input + ": first line is not " + SCRIPT_MAGIC +
                    " followed by a carriage return (already scrambled?); use --force to "
                    "scramble it anyway";
            return false;
        }
    } else if (!firstLineIsMagic(bytes, true)) {
        error = options.input + ": does not descramble to a first line " + SCRIPT_MAGIC +
                " (plain already?); use --force to unscramble it anyway";
        return false;
    }
    return true;
}

bool sameFile(const std::string& input, const std::string& output) {
    std::error_code status;
    if (std::filesystem::equivalent(input, output, status)) {
        return true;
    }
    // Neither exists, or one is missing: compare what the paths name.
    return std::filesystem::weakly_canonical(input, status) ==
           std::filesystem::weakly_canonical(output, status);
}

CLI::App* addScrambleDirection(CLI::App& app, ChosenCommand& chosen, ScrambleDirection direction,
                               const char* description) {
    auto options = std::make_shared<ScrambleOptions>();
    CLI::App* command = app.add_subcommand(commandName(direction), description);
    command->add_flag("-f,--force", options->force,
                      "Replace an existing OUT and skip the test of IN's first line");
    command->add_option("IN", options->input, "File to read; never changed")->required();
    command->add_option("OUT", options->output, "File to write")->required();
    command->callback([options, &chosen, direction] {
        chosen.run = [options, direction](std::ostream&, std::ostream& err) {
            return runScramble(direction, *options, err);
        };
    });
    return command;
}

} // namespace

int runScramble(ScrambleDirection direction, const ScrambleOptions& options, std::ostream& err) {
    const std::string prefix = std::string("murmex ") + commandName(direction) + ": ";
    if (sameFile(options.input, options.output)) {
        err << prefix << "IN and OUT are the same file: " << options.output << '\n';
        return EXIT_FAILED;
    }
    std::string bytes;
    std::string error;
    if (!readWholeFile(options.input, STANDARD_INPUT_LIMIT, bytes, error)) {
        err << prefix << "cannot read " << options.input << ": " << error << '\n';
        return EXIT_FAILED;
    }
    if (!options.force && !inputFits(direction, options, bytes, error)) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    scrambleInPlace(bytes);
    if (!writeFileWhole(options.output, bytes, options.force, error)) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

CLI::App* addScrambleCommand(CLI::App& app, ChosenCommand& chosen) {
    return addScrambleDirection(app, chosen, ScrambleDirection::Scramble,
                                "Scramble a plain script into the form the player reads");
}

CLI::App* addUnscrambleCommand(CLI::App& app, ChosenCommand& chosen) {
    return addScrambleDirection(app, chosen, ScrambleDirection::Unscramble,
                                "Turn a scrambled script back into plain text");
}

} // namespace murmex::tool
