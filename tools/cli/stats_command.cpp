// `murmex stats`: the counts of a loaded script as a table.
#include "tools/cli/stats_command.h"

#include "text/display_text.h"
#include "tools/analysis/terminal_text.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

// States as ranges: "0-5", "0-2 4 7".
std::string stateRanges(const std::set<int32_t>& states) {
    std::string text;
    auto state = states.begin();
    while (state != states.end()) {
        const int32_t first = *state;
        int32_t last = first;
        ++state;
        while (state != states.end() && last < INT32_MAX && *state == last + 1) {
            last = *state;
            ++state;
        }
        text += (text.empty() ? "" : " ") + std::to_string(first);
        if (last != first) {
            text += "-" + std::to_string(last);
        }
    }
    return text.empty() ? "-" : text;
}

std::string nameList(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + terminalText(name);
    }
    return text.empty() ? "-" : text;
}

int statsLoaded(const StatsOptions& options, const LoadedScript& loaded, std::ostream& out) {
    const ScriptStats stats = scriptStats(*loaded.engine);
    out << options.file << ": " << terminalText(displayText(loaded.engine->title)) << '\n';
    out << "characters         " << stats.characters.size() << '\n';
    out << "talk units         " << stats.units << ": " << stats.questions << " questions, "
        << stats.initialAnswers << " initial answers";
    if (stats.neverShown > 0) {
        out << ", " << stats.neverShown << " never shown (no question, not in state 0)";
    }
    out << '\n';
    out << "words              " << stats.answerWords << " in answers, " << stats.questionWords
        << " in questions\n";
    out << "variables set      " << nameList(stats.variablesSet) << '\n';
    out << "variables removed  " << nameList(stats.variablesRemoved) << '\n';
    out << "variables tested   " << nameList(stats.variablesTested) << '\n';

    // Widths of names as the terminal shows them, so the columns line up.
    size_t nameWidth = std::string("character").size();
    for (const CharacterStats& character : stats.characters) {
        nameWidth = std::max(nameWidth, terminalText(character.name).size());
    }
    out << '\n'
        << std::left << std::setw(static_cast<int>(nameWidth)) << "character"
        << "  units  questions  initial  states\n";
    for (const CharacterStats& character : stats.characters) {
        out << std::left << std::setw(static_cast<int>(nameWidth)) << terminalText(character.name)
            << std::right << "  " << std::setw(5) << character.units << "  " << std::setw(9)
            << character.questions << "  " << std::setw(7) << character.initialAnswers << "  "
            << std::left << stateRanges(character.states) << '\n';
    }
    return EXIT_OK;
}

ScriptWork statsWork(std::shared_ptr<const StatsOptions> options) {
    return [options](const LoadedScript& loaded, const ScriptPlaces&, std::ostream& out,
                     std::ostream&) { return statsLoaded(*options, loaded, out); };
}

} // namespace

int runStats(const StatsOptions& options, std::ostream& out, std::ostream& err) {
    return runOnScript({options.file, options.plain}, STATS_SCRIPT_USE, out, err,
                       statsWork(std::make_shared<const StatsOptions>(options)));
}

void addStatsOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<StatsOptions>();
    command.callback([options, &shared, &chosen] {
        options->file = shared.file;
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        chosen.work = statsWork(options);
    });
}

} // namespace murmex::tool
