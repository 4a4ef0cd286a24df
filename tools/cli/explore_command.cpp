// `murmex explore`: loads a script with its lines, explores it and words the
// report.
#include "tools/cli/explore_command.h"

#include "tools/analysis/goal_findings.h"
#include "tools/analysis/unit_coverage.h"
#include "tools/analysis/unit_text.h"
#include "tools/authoring/coverage_plans.h"
#include "tools/authoring/output_folder.h"
#include "tools/authoring/plan_folder.h"
#include "tools/cli/finding_json.h"
#include "tools/cli/number_option.h"
#include "tools/cli/search_options.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

// How much of a unit's text an unreached-unit warning quotes.
constexpr size_t QUOTED_CHARACTERS = 40;

Finding unreachedFinding(const ConversationEngine& engine, const ScriptPlaces& lines,
                         const UnitReference& reference, bool complete) {
    const Character& character = *engine.characters[reference.character];
    const TalkUnit& unit = *character.units[reference.unit];
    const bool isAnswer = unit.question[0] == 0;
    std::string text = unitDescription(character, unit, QUOTED_CHARACTERS);
    text += complete ? (isAnswer ? " is never shown" : " is never offered")
                     : " was not reached before the search was cut off";
    const int32_t line = lines.unitLine(reference.character, reference.unit);
    return Finding{line > 0 ? line : 1,
                   complete ? "unit-never-reached" : "unit-not-reached",
                   std::move(text),
                   {},
                   false};
}

// The plans written with --write-plans, as the report tells of them.
struct WrittenPlans {
    std::vector<std::string> files;
    CoveragePlans plans;
};

// The folder is made before the search, so that a name that cannot be one
// is refused at once; `made` takes it away again unless the plans are
// written.
bool preparePlanFolder(const ExploreOptions& options, std::filesystem::path& folder,
                       MadeSoFar& made, std::string& error) {
    return resolveFolder(options.writePlans, folder, error) &&
           planFolderUsable(folder, options.writePlans, error) && made.makeFolder(folder, error);
}

StepWatcher watcherOf(CoveragePlanner& planner) {
    return
        [&planner](uint32_t situation, int32_t unit, const ConversationEngine& engine,
                   const ConversationView& view) { planner.watch(situation, unit, engine, view); };
}

// Plays the plans the planner noted and writes them into the folder.
bool writeCoveragePlans(const ExploreOptions& options, const std::filesystem::path& folder,
                        const CoveragePlanner& planner, const ExploreReport& report,
                        WrittenPlans& written, std::string& error) {
    PlaySession session;
    if (!session.open(options.file, options.plain)) {
        error = session.failureText();
        return false;
    }
    return planner.plan(report, session, options.file, written.plans, error) &&
           writePlanFolder(folder, "explore", written.plans.texts, written.files, error);
}

void printWrittenPlans(const ExploreOptions& options, const ExploreReport& report,
                       const WrittenPlans& written, std::ostream& out) {
    out << options.file << ": wrote " << written.files.size()
        << (written.files.size() == 1 ? " plan" : " plans") << " to " << options.writePlans << " ("
        << written.plans.steps << " choices): they play " << written.plans.unitsPlayed << " of "
        << report.unitsTotal << " talk units\n";
}

nlohmann::ordered_json writtenPlansJson(const ExploreOptions& options,
                                        const WrittenPlans& written) {
    nlohmann::ordered_json json;
    json["folder"] = options.writePlans;
    json["files"] = written.files;
    json["choices"] = written.plans.steps;
    json["unitsPlayed"] = written.plans.unitsPlayed;
    return json;
}

// The goals read and found in the script; false, with the reason on `err`,
// when one is no goal or names no character of it.
bool readGoals(const ExploreOptions& options, const ConversationEngine& engine, GoalSearch& search,
               std::ostream& err) {
    std::string error;
    for (const std::string& text : options.goals) {
        Goal goal;
        if (!readGoal(text, goal, error)) {
            err << "murmex explore: --goal: " << error << '\n';
            return false;
        }
        search.goals.push_back(std::move(goal));
    }
    if (!resolveGoals(search.goals, engine, error)) {
        err << "murmex explore: --goal " << error << '\n';
        return false;
    }
    return true;
}

// The line after the summary that tells how the goals fared.
void printGoalVerdict(const ExploreOptions& options, const ExploreReport& report,
                      const GoalSearch& search, size_t warnings, std::ostream& out) {
    out << options.file << ": goals (" << goalsText(search.goals) << ")";
    if (report.goalVerdict != GoalVerdict::Judged) {
        out << " not judged: the search was cut off, so nothing is claimed\n";
    } else if (!report.goals.reachable) {
        out << ": none can be met from the start\n";
    } else if (warnings == 0) {
        out << ": every situation reached can still meet one\n";
    } else {
        out << ": " << warnings << (warnings == 1 ? " step closes" : " steps close")
            << " the way to every goal\n";
    }
}

int exploreLoaded(const ExploreOptions& options, const LoadedScript& loaded,
                  const ScriptPlaces& lines, std::ostream& out, std::ostream& err) {
    const ConversationEngine& engine = *loaded.engine;
    GoalSearch search;
    if (!readGoals(options, engine, search, err)) {
        return EXIT_USAGE;
    }
    const bool writing = !options.writePlans.empty();
    std::filesystem::path folder;
    std::string error;
    MadeSoFar made;
    if (writing && !preparePlanFolder(options, folder, made, error)) {
        err << "murmex explore: --write-plans: " << error << '\n';
        return EXIT_FAILED;
    }
    CoveragePlanner planner(engine);
    const ExploreReport report =
        exploreScript(*loaded.engine, lines, options.limits,
                      writing ? watcherOf(planner) : StepWatcher(), search);
    WrittenPlans written;
    const bool wrote =
        writing && writeCoveragePlans(options, folder, planner, report, written, error);
    if (wrote) {
        made.keep();
    }
    const bool complete = report.cutOff == CutOff::None;
    // Each shown failure is worded, its path rebuilt, only when it is printed.
    const size_t shown = std::min<size_t>(report.failures.size(), options.maxFailures);
    const auto failure = [&](size_t i) {
        return describeFailure(engine, lines, report, report.failures[i]);
    };
    std::vector<Finding> unreached;
    for (const UnitReference& reference : report.unreached) {
        unreached.push_back(unreachedFinding(engine, lines, reference, complete));
    }
    const std::vector<Finding> closed = goalFindings(engine, lines, report, search.goals);
    if (options.json) {
        nlohmann::ordered_json json;
        json["file"] = options.file;
        json["situations"] = report.situations;
        json["deepest"] = report.deepest;
        json["complete"] = complete;
        json["search"] = cutOffWords(report.cutOff);
        json["unitsReached"] = report.unitsReached;
        json["unitsTotal"] = report.unitsTotal;
        json["failuresFound"] = report.failuresFound;
        json["failures"] = nlohmann::ordered_json::array();
        for (size_t i = 0; i < shown; ++i) {
            json["failures"].push_back(findingToJson(failure(i)));
        }
        json["unreached"] = nlohmann::ordered_json::array();
        for (const Finding& finding : unreached) {
            json["unreached"].push_back(findingToJson(finding));
        }
        if (!search.goals.empty()) {
            json["goals"] = options.goals;
            json["goalsJudged"] = report.goalVerdict == GoalVerdict::Judged;
            json["goalUnreachable"] = nlohmann::ordered_json::array();
            for (const Finding& finding : closed) {
                json["goalUnreachable"].push_back(findingToJson(finding));
            }
        }
        if (wrote) {
            json["writtenPlans"] = writtenPlansJson(options, written);
        }
        printJson(out, json);
    } else {
        for (size_t i = 0; i < shown; ++i) {
            printFinding(out, options.file, failure(i));
        }
        if (report.failuresFound > shown) {
            out << options.file << ": " << report.failuresFound - shown << " more "
                << (report.failuresFound - shown == 1 ? "failure" : "failures")
                << " found and not shown (--max-failures " << options.maxFailures << ")\n";
        }
        for (const Finding& finding : unreached) {
            printFinding(out, options.file, finding);
        }
        for (const Finding& finding : closed) {
            printFinding(out, options.file, finding);
        }
        out << options.file << ": explored " << report.situations << " situations, up to "
            << report.deepest << " questions deep; " << report.unitsReached << " of "
            << report.unitsTotal << " talk units reached ("
            << sharePercent(report.unitsReached, report.unitsTotal) << "%); search "
            << cutOffWords(report.cutOff) << "; ";
        if (report.failuresFound == 0) {
            out << (complete ? "no failure is reachable\n" : "no failure found\n");
        } else {
            out << report.failuresFound << (report.failuresFound == 1 ? " failure" : " failures")
                << " reachable\n";
        }
        if (!search.goals.empty()) {
            printGoalVerdict(options, report, search, closed.size(), out);
        }
        if (wrote) {
            printWrittenPlans(options, report, written, out);
        }
    }
    if (writing && !wrote) {
        err << "murmex explore: --write-plans: " << error << '\n';
        return EXIT_FAILED;
    }
    return report.failuresFound == 0 && closed.empty() ? EXIT_OK : EXIT_FAILED;
}

// Refuses a text that is no goal before the script is loaded.
CLI::Validator goalCheck() {
    CLI::Validator validator;
    validator.operation([](std::string& text) -> std::string {
        Goal goal;
        std::string error;
        return readGoal(text, goal, error) ? "" : error;
    });
    return validator;
}

ScriptWork exploreWork(std::shared_ptr<const ExploreOptions> options) {
    return
        [options](const LoadedScript& loaded, const ScriptPlaces& lines, std::ostream& out,
                  std::ostream& err) { return exploreLoaded(*options, loaded, lines, out, err); };
}

} // namespace

int runExplore(const ExploreOptions& options, std::ostream& out, std::ostream& err) {
    return runOnScript({options.file, options.plain}, EXPLORE_SCRIPT_USE, out, err,
                       exploreWork(std::make_shared<const ExploreOptions>(options)));
}

void addExploreOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<ExploreOptions>();
    addSearchLimitOptions(command, options->limits);
    command
        .add_option("--max-failures", options->maxFailures,
                    "Failures to print at most; the rest are counted (0: the count alone)")
        ->check(wholeNumberIn(0, MAX_FAILURES_SHOWN))
        ->capture_default_str();
    command.add_option(
        "--write-plans", options->writePlans,
        "Write into DIR (made if missing; it must hold no .plan file yet) a few plans that "
        "between them play every talk unit reached, each the shortest way to a screen not "
        "shown before, with what it shows expected as play --record writes it");
    command
        .add_option("--goal", options->goals,
                    std::string("A goal that wins the game (repeatable): ") + GOAL_FORMS +
                        ", met where NAME is talked to. Warns of each step after which none "
                        "can be met any more [goal-unreachable], with the shortest way to it, "
                        "and exits with 1; a search cut off claims nothing")
        ->type_name("GOAL")
        ->expected(1)
        ->take_all()
        ->check(goalCheck());
    command.callback([options, &shared, &chosen] {
        options->file = shared.file;
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        options->json = shared.json;
        chosen.work = exploreWork(options);
    });
}

} // namespace murmex::tool
