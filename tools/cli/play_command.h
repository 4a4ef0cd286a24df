// `murmex play`: the conversation window in the terminal. It shows the
// character's name and answer and the offered questions numbered from 1, and
// reads the player's choices from the input or from a list given up front.
#pragma once

#include "murmex/conversation_flow.h"
#include "tools/cli/command.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct PlayOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
    // The character the game starts with.
    std::string start = START_CHARACTER;
    // A saved game to start from instead of `start`; none when empty.
    std::string resume;
    // Where to write the game when play ends; nowhere when empty.
    std::string save;
    // Take the choices from `choices` instead of the input, then stop.
    bool scripted = false;
    // One entry per choice, as the player would type it.
    std::vector<std::string> choices;
    // Also print what each applied talk unit did.
    bool trace = false;
    // Also print each event a game embedding the engine hears, a line each
    // after the choice that caused it.
    bool events = false;
    // Print each line read from the input after the prompt, so that a game
    // fed through a pipe reads like one typed at a terminal.
    bool echoInput = false;
    // Write the path played as a transcript plan to this file, if named.
    std::string record;
    // Replace an existing plan file.
    bool force = false;
};

// Plays until the player quits, the input or the list of choices runs out
// (EXIT_OK, and the game is written to `save` if one is given), or the
// script fails: the window's message on `err` and EXIT_SCRIPT_FAILED. A saved
// game that can't be read or is refused gives EXIT_FAILED. A scripted game
// with a refused choice ends with EXIT_FAILED, so a recorded playthrough that
// no longer fits the script is noticed. With `record` set the plan is written
// whenever the script loaded, whatever ended the game; an existing file is
// refused up front without `force` (EXIT_FAILED). Before any play, and even
// with `force`, a plan or saved game that would replace the script or the file
// standard input reads is refused (EXIT_FAILED), and a plan and saved game
// named as one file are a usage error (EXIT_USAGE).
int runPlay(const PlayOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

inline constexpr ScriptUse PLAY_SCRIPT_USE = ScriptUse::Loaded;
void addPlayOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
