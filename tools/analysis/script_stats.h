// Counts over a loaded script: characters, talk units, questions, initial
// answers, states, variables and words, for authors who want to see how a
// script grows and which variables it sets and tests.
#pragma once

#include "murmex/script_model.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace murmex::tool {

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

ScriptStats scriptStats(const ScriptModel& engine);

// Words in a text as ScriptStats counts them.
int64_t wordCount(const char* text);

} // namespace murmex::tool
