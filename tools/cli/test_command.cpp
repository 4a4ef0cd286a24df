// `murmex test`: transcript plans played through a PlaySession, the same path
// the window takes, and checked step by step.
#include "tools/cli/test_command.h"

#include "murmex/conversation_flow.h"
#include "tools/analysis/terminal_text.h"
#include "tools/authoring/plan_translation.h"
#include "tools/authoring/plan_walk.h"
#include "tools/authoring/play_session.h"
#include "tools/authoring/transcript_plan.h"
#include "tools/cli/finding_json.h"
#include "tools/cli/number_option.h"
#include "tools/cli/test_coverage.h"
#include "tools/cli/test_update.h"
#include "tools/script_io/load_failure_report.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

namespace murmex::tool {

namespace {

// One plan being played: the game, where the plan stands, and what went wrong.
class PlanRun {
  public:
    PlanRun(const std::string& planPath, std::ostream& out, UnitCoverage* coverage)
        : planPath(planPath), out(out), coverage(coverage) {}

    bool play(const TranscriptPlan& plan, const TestOptions& options) {
        if (!session.open(options.script, options.plain)) {
            report(0, "the script to load", "error " + planQuoted(session.failureText()));
            return false;
        }
        const std::vector<PlanStep>& steps = plan.steps;
        const bool named = !steps.empty() && steps[0].kind == PlanStepKind::Start;
        const std::string first = named ? steps[0].text : START_CHARACTER;
        const int32_t firstLine = steps.empty() ? 1 : steps[0].line;
        size_t next = named ? 1 : 0;
        if (!session.start(first) && !failureExpected(steps, next)) {
            report(firstLine, first + " to start", "error " + planQuoted(session.failureText()));
            return false;
        }
        noteScreen();
        for (; next < steps.size(); ++next) {
            const PlanStep& step = steps[next];
            if (step.kind == PlanStepKind::ChooseNumber || step.kind == PlanStepKind::ChooseText) {
                if (!choose(step)) {
                    return false;
                }
                if (session.failed() && !failureExpected(steps, next + 1)) {
                    report(step.line, "the game to go on",
                           "error " + planQuoted(session.failureText()));
                    return false;
                }
            } else {
                check(step);
            }
        }
        return failures == 0;
    }

  private:
    // The screen the game shows now, unless it failed and shows a message.
    void noteScreen() {
        if (coverage != nullptr && !session.failed()) {
            coverage->noteScreen(*session.script().engine, session.shownView());
        }
    }

    static bool failureExpected(const std::vector<PlanStep>& steps, size_t at) {
        return at < steps.size() && steps[at].kind == PlanStepKind::ExpectError;
    }

    void report(int32_t line, const std::string& expected, const std::string& got) {
        out << planPath;
        if (line > 0) {
            out << ':' << line;
        }
        // Both sides quote texts of the script or the plan, which may hold any byte.
        out << ": expected " << terminalText(expected) << ", got " << terminalText(got) << '\n';
        ++failures;
    }

    // False when the plan cannot go on.
    bool choose(const PlanStep& step) {
        if (session.failed()) {
            report(step.line, "a question to choose",
                   "the game over after error " + planQuoted(session.failureText()));
            return false;
        }
        int32_t position = 0;
        if (step.kind == PlanStepKind::ChooseNumber) {
            if (step.number > session.questionCount()) {
                report(step.line, "question " + std::to_string(step.number) + " to be offered",
                       planQuotedList(session.questions()));
                return false;
            }
            position = step.number - 1;
        } else {
            const QuestionMatch match = session.findQuestion(step.text);
            if (match.matches > 1) {
                report(step.line, "question " + planQuoted(step.text) + " to be offered once",
                       "it " + std::to_string(match.matches) + " times; choose it by number");
                return false;
            }
            if (!match.position) {
                report(step.line, "question " + planQuoted(step.text) + " to be offered",
                       planQuotedList(session.questions()));
                return false;
            }
            position = *match.position;
        }
        if (coverage != nullptr) {
            const ConversationView& view = session.shownView();
            coverage->noteApplied(view.characterIndex, view.unitIndices[position]);
        }
        session.choose(position);
        noteScreen();
        return true;
    }

    // What the window shows now, or the failure that ended the game.
    bool showing(const PlanStep& step, const std::string& expected) {
        if (!session.failed()) {
            return true;
        }
        report(step.line, expected, "error " + planQuoted(session.failureText()));
        return false;
    }

    void expectEqual(const PlanStep& step, const std::string& expected, const std::string& got) {
        if (expected != got) {
            report(step.line, expected, got);
        }
    }

    void check(const PlanStep& step) {
        const MemoryStore& memory = session.memory();
        switch (step.kind) {
        case PlanStepKind::ExpectAnswer:
            if (showing(step, "answer " + planQuoted(step.text))) {
                expectEqual(step, "answer " + planQuoted(step.text),
                            "answer " + planQuoted(session.answer()));
            }
            break;
        case PlanStepKind::ExpectQuestions:
            if (showing(step, "questions " + planQuotedList(step.texts))) {
                expectEqual(step, "questions " + planQuotedList(step.texts),
                            "questions " + planQuotedList(session.questions()));
            }
            break;
        case PlanStepKind::ExpectCharacter:
            if (showing(step, "character " + step.text)) {
                expectEqual(step, "character " + step.text, "character " + session.characterName());
            }
            break;
        case PlanStepKind::ExpectVariable:
        case PlanStepKind::ExpectMissing: {
            // The engine's own lookup, so names compare as conditions compare them.
            const int32_t slot = memory.lookup(step.text.c_str());
            const std::string got =
                slot >= 0 ? "var " + step.text + " == " + std::to_string(memory.valueAt(slot))
                          : "var " + step.text + " missing";
            expectEqual(step,
                        step.kind == PlanStepKind::ExpectMissing
                            ? "var " + step.text + " missing"
                            : "var " + step.text + " == " + std::to_string(step.number),
                        got);
            break;
        }
        case PlanStepKind::ExpectMoney:
            expectEqual(step, "money " + std::to_string(step.number),
                        "money " + std::to_string(memory.money));
            break;
        case PlanStepKind::ExpectError:
            expectEqual(step, "error " + planQuoted(step.text),
                        session.failed() ? "error " + planQuoted(session.failureText())
                                         : "no error");
            break;
        case PlanStepKind::Start:
        case PlanStepKind::ChooseNumber:
        case PlanStepKind::ChooseText:
            break;
        }
    }

    const std::string& planPath;
    std::ostream& out;
    UnitCoverage* coverage;
    PlaySession session;
    int32_t failures = 0;
};

// One plan as the summary tells of it: what went wrong, as printed lines.
struct PlanResult {
    std::string path;
    bool passed = false;
    std::string messages;
};

// Every plan played, each on a fresh load; `translation` is empty without
// --translation.
std::vector<PlanResult> playPlans(const TestOptions& options, const PlanTranslation& translation,
                                  UnitCoverage* coverage) {
    std::vector<PlanResult> results;
    for (const std::string& path : options.plans) {
        std::ostringstream messages;
        std::string text;
        TranscriptPlan plan;
        bool ok = readPlan(path, text, plan, messages);
        if (ok && !options.translation.empty()) {
            plan = translation.translate(plan);
        }
        ok = ok && runPlan(plan, path, options, messages, coverage);
        results.push_back({path, ok, messages.str()});
    }
    return results;
}

nlohmann::ordered_json resultsJson(const std::vector<PlanResult>& results) {
    nlohmann::ordered_json plans = nlohmann::ordered_json::array();
    for (const PlanResult& result : results) {
        nlohmann::ordered_json plan;
        plan["file"] = result.path;
        plan["passed"] = result.passed;
        plan["messages"] = nlohmann::ordered_json::array();
        std::istringstream lines(result.messages);
        for (std::string line; std::getline(lines, line);) {
            plan["messages"].push_back(line);
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

size_t passedCount(const std::vector<PlanResult>& results) {
    return static_cast<size_t>(std::count_if(
        results.begin(), results.end(), [](const PlanResult& result) { return result.passed; }));
}

// The plans' results, their summary and the coverage when there is one, as
// lines or as JSON. A plan without a result (none was played) failed.
void printResults(const TestOptions& options, const std::vector<PlanResult>& results,
                  const CoverageReport* coverage, std::ostream& out) {
    const size_t passed = passedCount(results);
    const size_t failed = options.plans.size() - passed;
    if (options.json) {
        nlohmann::ordered_json json;
        json["script"] = options.script;
        json["plans"] = resultsJson(results);
        json["passed"] = passed;
        json["failed"] = failed;
        if (coverage != nullptr) {
            json["coverage"] = coverageJson(*coverage);
        }
        printJson(out, json);
        return;
    }
    for (const PlanResult& result : results) {
        out << result.messages << result.path << (result.passed ? ": passed" : ": failed") << '\n';
    }
    out << passed << " passed, " << failed << " failed\n";
    if (coverage != nullptr) {
        printCoverage(*coverage, out);
    }
}

} // namespace

bool readPlan(const std::string& path, std::string& text, TranscriptPlan& plan, std::ostream& out) {
    std::string readError;
    if (!readWholeFile(path, PLAN_SIZE_LIMIT, text, readError)) {
        out << path << ": error: cannot read plan: " << readError << '\n';
        return false;
    }
    PlanError error;
    if (!parsePlan(text, plan, error)) {
        out << path << ':' << error.line << ": error: " << terminalText(error.message) << '\n';
        return false;
    }
    return true;
}

bool runPlan(const TranscriptPlan& plan, const std::string& planPath, const TestOptions& options,
             std::ostream& out, UnitCoverage* coverage) {
    PlanRun run(planPath, out, coverage);
    return run.play(plan, options);
}

namespace {

// A script that does not load fails every plan the same way; say it once,
// where it is, and give the results of no plan.
int tellLoadFailure(const TestOptions& options, const LoadedScript& loaded, std::ostream& out,
                    std::ostream& err) {
    reportLoadFailure(options.script, options.plain, loaded, err);
    printResults(options, {}, nullptr, out);
    return EXIT_FAILED;
}

int testLoaded(const TestOptions& options, const LoadedScript& loaded, const ScriptPlaces& lines,
               std::ostream& out, std::ostream& err) {
    const bool covering = options.coverage || options.minCoverage;
    if (options.update) {
        return runUpdate(options, out, err);
    }
    PlanTranslation translation;
    std::string error;
    if (!options.translation.empty() &&
        !translation.read(options.script, options.plain, options.translation, STANDARD_INPUT_LIMIT,
                          error)) {
        err << "murmex test: " << error << '\n';
        printResults(options, {}, nullptr, out);
        return EXIT_FAILED;
    }
    std::optional<UnitCoverage> coverage;
    if (covering) {
        coverage.emplace(*loaded.engine);
    }
    const std::vector<PlanResult> results =
        playPlans(options, translation, coverage ? &*coverage : nullptr);
    const bool allPassed = passedCount(results) == options.plans.size();
    if (!coverage) {
        printResults(options, results, nullptr, out);
        return allPassed ? EXIT_OK : EXIT_FAILED;
    }
    const CoverageReport report{options.script, *loaded.engine, lines, *coverage,
                                options.minCoverage};
    printResults(options, results, &report, out);
    return allPassed && coverageMet(report) ? EXIT_OK : EXIT_FAILED;
}

void chooseTest(ChosenCommand& chosen, std::shared_ptr<const TestOptions> options) {
    chosen.work = [options](const LoadedScript& loaded, const ScriptPlaces& lines,
                            std::ostream& out, std::ostream& err) {
        return testLoaded(*options, loaded, lines, out, err);
    };
    chosen.failed = [options](const LoadedScript& loaded, std::ostream& out, std::ostream& err) {
        return tellLoadFailure(*options, loaded, out, err);
    };
}

} // namespace

int runTest(const TestOptions& options, std::ostream& out, std::ostream& err) {
    ChosenCommand chosen;
    chooseTest(chosen, std::make_shared<const TestOptions>(options));
    return runOnScript({options.script, options.plain}, TEST_SCRIPT_USE, out, err, chosen.work,
                       chosen.failed);
}

void addTestOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<TestOptions>();
    CLI::Option* update = command.add_flag(
        "--update", options->update,
        "Rewrite each expectation the script no longer meets with what it shows now, printing "
        "the changes as a diff; a plan whose choices cannot be followed is left alone");
    command
        .add_option("--translation", options->translation,
                    "Translation file (.po or .csv) of the script the plans were written for: "
                    "SCRIPT is the translated script, and each expected and chosen text is "
                    "read through the translation")
        ->excludes(update);
    CLI::Option* coverage = command.add_flag(
        "--coverage", options->coverage,
        "After the plans, report which talk units of SCRIPT they played, the share, and each "
        "unit never played. A unit is played once a plan's game showed it: its question was "
        "among those offered (chosen or not), or, for an initial answer, it was the answer "
        "shown when its character started; a step that failed shows nothing");
    auto minimum = std::make_shared<uint32_t>(0);
    CLI::Option* minCoverage =
        command
            .add_option("--min-coverage", *minimum,
                        "Fail (exit status 1) when less than this share of the units, in "
                        "percent, was played; implies --coverage")
            ->check(wholeNumberIn(0, 100));
    CLI::Option* json = command.get_option("--json");
    for (CLI::Option* option : {coverage, minCoverage, json}) {
        option->excludes(update);
    }
    command.add_option("PLAN", options->plans, "Transcript plan files")->required();
    command.callback([options, minimum, minCoverage, &shared, &chosen] {
        options->script = shared.file;
        options->plain = readsPlain(options->script, shared.plain, shared.scrambled);
        options->json = shared.json;
        if (minCoverage->count() > 0) {
            options->minCoverage = *minimum;
        }
        chooseTest(chosen, options);
    });
}

} // namespace murmex::tool
