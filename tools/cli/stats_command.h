// `murmex stats`: how big a script is and what it uses: characters, talk
// units, questions, initial answers, states, variables and words.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/cli/command.h"

#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace murmex::tool {

struct StatsOptions {
    std::string file;
    // Read the file as it stands instead of descrambled.
    bool plain = false;
};

struct CharacterStats {
    std::string name;
    int32_t units = 0;
    int32_t questions = 0;
    // Units with an empty question in state 0, the only state a start uses.
    int32_t initialAnswers = 0;
    // Units with an empty question in another state: never shown.
    int32_t neverShown = 0;
    // States the units are available in or lead to (negative ones end the
    // conversation and are left out).
    std::set<int32_t> states;
};

struct ScriptStats {
    std::vector<CharacterStats> characters;
    int32_t units = 0;
    int32_t questions = 0;
    int32_t initialAnswers = 0;
    int32_t neverShown = 0;
    // Words of all answer texts and of all question texts. A word is a run of
    // non-blank characters with at least one letter or digit in it, so a
    // placeholder answer "-" counts none.
    int64_t answerWords = 0;
    int64_t questionWords = 0;
    // Variable names, decoded for display.
    std::set<std::string> variablesSet;
    std::set<std::string> variablesRemoved;
    std::set<std::string> variablesTested;
};

ScriptStats scriptStats(const ConversationEngine& engine);

// Words in a text as ScriptStats counts them.
int64_t wordCount(const char* text);

// The figures on `out`, or the check error line on `err` and EXIT_FAILED.
int runStats(const StatsOptions& options, std::ostream& out, std::ostream& err);

inline constexpr ScriptUse STATS_SCRIPT_USE = ScriptUse::Loaded;
CLI::App* addStatsCommand(CLI::App& app, ChosenCommand& chosen);

} // namespace murmex::tool
