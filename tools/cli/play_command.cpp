// `murmex play`: a game in the terminal, step for step the window's game.
#include "tools/cli/play_command.h"

#include "text/display_text.h"
#include "tools/analysis/terminal_text.h"
#include "tools/authoring/plan_recorder.h"
#include "tools/authoring/play_session.h"
#include "tools/cli/play_events.h"
#include "tools/platform/file_output.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_reading.h"
#include "window/load_error_text.h"

#include <CLI/CLI.hpp>

#include <cstddef>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include <unistd.h>

namespace murmex::tool {

namespace {

// More digits than this cannot name one of at most five questions; the
// number is refused without being converted.
constexpr size_t MAX_CHOICE_DIGITS = 9;

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The choices, from the list given up front or read from the input.
class ChoiceSource {
  public:
    ChoiceSource(const PlayOptions& options, std::istream& in, std::ostream& out)
        : options(options), in(in), out(out) {}

    // The next entry after the prompt, or nothing when the choices have run out.
    std::optional<std::string> next() {
        if (options.scripted) {
            if (listed >= options.choices.size()) {
                return std::nullopt;
            }
            const std::string& entry = options.choices[listed++];
            out << "> " << terminalText(entry) << '\n';
            return entry;
        }
        out << "> " << std::flush;
        std::string line;
        if (!std::getline(in, line)) {
            // The prompt's line is ended, so whatever follows starts afresh.
            out << '\n';
            return std::nullopt;
        }
        if (options.echoInput) {
            out << terminalText(trimmed(line)) << '\n';
        }
        return line;
    }

    // How many listed choices next() has handed out.
    size_t listedSoFar() const { return listed; }

  private:
    const PlayOptions& options;
    std::istream& in;
    std::ostream& out;
    size_t listed = 0;
};

// Script texts and names may hold any byte; every one that reaches the
// terminal goes through terminalText.
void showSituation(const PlaySession& session, std::ostream& out) {
    out << terminalText(session.characterName()) << ": " << terminalText(session.answer()) << '\n';
    const std::vector<std::string> questions = session.questions();
    for (size_t i = 0; i < questions.size(); ++i) {
        out << "  " << i + 1 << ". " << terminalText(questions[i]) << '\n';
    }
}

// The question number an entry names, 1 or more, or nothing when the entry is
// not a number.
std::optional<int32_t> choiceNumber(const std::string& entry) {
    if (entry.empty() || entry.size() > MAX_CHOICE_DIGITS ||
        entry.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<int32_t>(std::stol(entry));
}

std::string choiceHint(int32_t questionCount) {
    return (questionCount == 1 ? "choose 1" : "choose 1 to " + std::to_string(questionCount)) +
           ", b to go back, or q to quit.";
}

// A listed choice is refused: the ones after it were meant for other prompts,
// so none of them is applied.
int reportRefusedChoice(const PlayOptions& options, size_t position, std::ostream& out,
                        std::ostream& err) {
    out << std::flush;
    err << "choice " << position << " of " << options.choices.size() << " in --choose (\""
        << terminalText(options.choices[position - 1]) << "\") was refused"
        << (position < options.choices.size() ? "; the choices after it were not applied" : "")
        << '\n';
    return EXIT_FAILED;
}

int reportFailure(const PlaySession& session, std::ostream& out, std::ostream& err) {
    out << std::flush;
    err << terminalText(session.failureText()) << '\n';
    return EXIT_SCRIPT_FAILED;
}

// Starts the game: from the saved game when one is given, else with the
// start character. EXIT_OK, or the code to end with.
int beginGame(const PlayOptions& options, PlaySession& session, EventEcho* events,
              std::ostream& out, std::ostream& err) {
    if (options.resume.empty()) {
        if (events != nullptr) {
            events->start(options.start);
        }
        return session.start(options.start) ? EXIT_OK : reportFailure(session, out, err);
    }
    std::ifstream in(options.resume, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        err << "can't read the saved game " << terminalText(options.resume) << '\n';
        return EXIT_FAILED;
    }
    if (!session.resume(bytes)) {
        err << terminalText(options.resume) << ": " << terminalText(session.failureText()) << '\n';
        return EXIT_FAILED;
    }
    if (events != nullptr) {
        events->resume(bytes);
    }
    return EXIT_OK;
}

// Writes the game to `--save`, if given, once play has ended well.
int saveGame(const PlayOptions& options, const PlaySession& session, std::ostream& err) {
    std::string error;
    if (!options.save.empty() && !writeFileWhole(options.save, session.save(), true, error)) {
        err << "can't save the game: " << terminalText(error) << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

// Puts the game back where it stood before the last choice, as the
// preview's Back does; the plan being recorded forgets that choice.
void takeBack(PlaySession& session, const std::string& saved, PlanRecorder& recorder,
              EventEcho* events) {
    session.resume(saved);
    recorder.tookBack();
    if (events != nullptr) {
        events->resume(saved);
    }
}

// The game itself; every step it takes also goes to `recorder`.
int playGame(const PlayOptions& options, LoadedScript& loaded, PlanRecorder& recorder,
             std::istream& in, std::ostream& out, std::ostream& err) {
    std::optional<EventEcho> events;
    if (options.events && !events.emplace(out).open(loaded.bytes, loaded.plain)) {
        err << "murmex play: --events could not load the script a second time, for a game to "
               "hear\n";
        return EXIT_FAILED;
    }
    EventEcho* echo = events ? &*events : nullptr;
    PlaySession session;
    session.adopt(std::move(loaded));
    out << terminalText(displayText(session.script().engine->title)) << "\n\n";
    const int begun = beginGame(options, session, echo, out, err);
    recorder.started(session, options.start);
    if (begun != EXIT_OK) {
        return begun;
    }
    showSituation(session, out);

    ChoiceSource source(options, in, out);
    // The game as it stood before each choice not taken back, for "b".
    std::vector<std::string> before;
    while (const std::optional<std::string> raw = source.next()) {
        const std::string entry = trimmed(*raw);
        if (entry == "q" || entry == "Q") {
            break;
        }
        const int32_t count = session.questionCount();
        if (entry == "b" || entry == "B") {
            if (before.empty()) {
                out << "There is no choice to take back: " << choiceHint(count) << '\n';
                if (options.scripted) {
                    return reportRefusedChoice(options, source.listedSoFar(), out, err);
                }
                continue;
            }
            takeBack(session, before.back(), recorder, echo);
            before.pop_back();
            out << '\n';
            showSituation(session, out);
            continue;
        }
        const std::optional<int32_t> number = choiceNumber(entry);
        if (!number || *number < 1 || *number > count) {
            // Refused, never wrapped round: the player is asked again.
            if (entry.empty()) {
                out << "Please " << choiceHint(count) << '\n';
            } else if (number) {
                out << "There is no question " << entry << ": " << choiceHint(count) << '\n';
            } else {
                out << '"' << terminalText(entry)
                    << "\" is not a question number: " << choiceHint(count) << '\n';
            }
            if (options.scripted) {
                return reportRefusedChoice(options, source.listedSoFar(), out, err);
            }
            continue;
        }
        before.push_back(session.save());
        recorder.choosing(session, *number - 1);
        const PlayStep step = session.choose(*number - 1);
        recorder.chose(session);
        if (echo != nullptr) {
            echo->choose(*number - 1);
        }
        if (options.trace) {
            for (const std::string& effect : step.effects) {
                out << "  * " << terminalText(effect) << '\n';
            }
        }
        if (session.failed()) {
            return reportFailure(session, out, err);
        }
        out << '\n';
        showSituation(session, out);
    }
    return saveGame(options, session, err);
}

// Why the game may not write `output` (its plan or its saved game), or empty
// when it may: the output would replace the script, or the file standard
// input reads, whose bytes are as much an input. --force changes nothing here.
std::string overwrittenInput(const PlayOptions& options, const std::string& output,
                             const std::string& what) {
    if (output.empty()) {
        return "";
    }
    if (sameFile(output, options.file)) {
        return what + " " + output + " would replace the script " + options.file;
    }
    if (isStandardInput(output)) {
        return what + " " + output + " would replace the file standard input reads";
    }
    return "";
}

// A script that did not load ends the game as the window would end it.
int tellLoadFailure(const PlayOptions& options, const LoadedScript& loaded, std::ostream& err) {
    // The window's text first (lines of the loader's own, no script text);
    // the tool's own line says it in words.
    err << kestrine::loadErrorText(loaded.code, loaded.line, loaded.message) << '\n'
        << loadErrorLine(options.file, options.plain, loaded) << '\n';
    return EXIT_SCRIPT_FAILED;
}

int playLoaded(const PlayOptions& options, LoadedScript& loaded, std::istream& in,
               std::ostream& out, std::ostream& err) {
    const bool recording = !options.record.empty();
    if (recording && !options.resume.empty()) {
        // A plan starts from a character, not from a saved game.
        err << "murmex play: --record cannot follow a game resumed with --resume\n";
        return EXIT_USAGE;
    }
    if (recording && !options.save.empty() && sameFile(options.record, options.save)) {
        // One file can't hold both; whichever came last would silently win.
        err << "murmex play: --record " << options.record << " and --save " << options.save
            << " name one file\n";
        return EXIT_USAGE;
    }
    // Refused before the game, so that no playing is lost to it.
    std::string error = overwrittenInput(options, options.save, "the saved game");
    if (error.empty()) {
        error = overwrittenInput(options, options.record, "the plan");
    }
    FileOutput output;
    if (!error.empty() || (recording && !output.begin(options.record, options.force, error))) {
        err << "murmex play: " << error << '\n';
        return EXIT_FAILED;
    }
    PlanRecorder recorder("murmex play", options.file);
    const int status = playGame(options, loaded, recorder, in, out, err);
    if (!recording || !recorder.recorded()) {
        return status;
    }
    const std::string& plan = recorder.text();
    if (!output.write(plan.data(), plan.size(), error) || !output.publish(error)) {
        err << "murmex play: " << error << '\n';
        return status == EXIT_OK ? EXIT_FAILED : status;
    }
    return status;
}

void choosePlay(ChosenCommand& chosen, std::shared_ptr<const PlayOptions> options,
                std::istream& in) {
    chosen.work = [options, &in](LoadedScript& loaded, const ScriptPlaces&, std::ostream& out,
                                 std::ostream& err) {
        return playLoaded(*options, loaded, in, out, err);
    };
    chosen.failed = [options](const LoadedScript& loaded, std::ostream&, std::ostream& err) {
        return tellLoadFailure(*options, loaded, err);
    };
}

} // namespace

int runPlay(const PlayOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    ChosenCommand chosen;
    choosePlay(chosen, std::make_shared<const PlayOptions>(options), in);
    return runOnScript({options.file, options.plain}, PLAY_SCRIPT_USE, out, err, chosen.work,
                       chosen.failed);
}

void addPlayOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<PlayOptions>();
    CLI::Option* start = command.add_option("--start", options->start, "Character to start with")
                             ->capture_default_str();
    command
        .add_option("--resume", options->resume,
                    "Start from a saved game instead; choices then go on from there")
        ->excludes(start);
    command.add_option("--save", options->save,
                       "Write the game to this file when play ends (after the last choice)");
    CLI::Option* choose =
        command
            .add_option("--choose", options->choices,
                        "Choices to make, as a list like 1,3,2; the game then stops")
            ->delimiter(',');
    command.add_flag("--trace", options->trace, "Also print what each applied talk unit did");
    command.add_flag("--events", options->events,
                     "Also print the events a game embedding the engine hears, one per line");
    command.add_option("--record", options->record,
                       "Write the path played as a transcript plan to this file");
    command.add_flag("-f,--force", options->force, "Replace the plan file if it exists");
    command.callback([options, choose, &shared, &chosen] {
        options->file = shared.file;
        options->scripted = choose->count() > 0;
        // The script takes standard input, so choices can't come from it too;
        // refused before the reading is guessed, which would wait for the
        // end of the input.
        if (options->file == STANDARD_INPUT_NAME && !options->scripted) {
            throw CLI::ValidationError("FILE", "choices need --choose when the script comes "
                                               "from standard input (-)");
        }
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        options->echoInput = ::isatty(STDIN_FILENO) == 0;
        choosePlay(chosen, options, std::cin);
    });
}

} // namespace murmex::tool
