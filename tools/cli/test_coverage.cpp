// The coverage report of `murmex test` in lines and as JSON.
#include "tools/cli/test_coverage.h"

#include "text/display_text.h"
#include "tools/analysis/finding.h"
#include "tools/analysis/unit_text.h"
#include "tools/cli/finding_json.h"

#include <vector>

namespace murmex::tool {

namespace {

// How much of a unit's text a finding quotes.
constexpr size_t QUOTED_CHARACTERS = 40;

int32_t lineOf(const CoverageReport& report, int32_t c, int32_t u) {
    const int32_t line = report.lines.unitLine(c, u);
    return line > 0 ? line : 1;
}

std::vector<Finding> neverPlayed(const CoverageReport& report) {
    std::vector<Finding> findings;
    for (int32_t c = 0; c < report.coverage.characters(); ++c) {
        for (int32_t u = 0; u < report.coverage.units(c); ++u) {
            if (report.coverage.played(c, u)) {
                continue;
            }
            const Character& character = *report.engine.characters[c];
            const TalkUnit& unit = *character.units[u];
            const bool isAnswer = unit.question[0] == 0;
            findings.push_back(Finding{lineOf(report, c, u),
                                       "unit-never-played",
                                       unitDescription(character, unit, QUOTED_CHARACTERS) +
                                           (isAnswer ? " was never shown" : " was never offered"),
                                       {},
                                       false});
        }
    }
    return findings;
}

int64_t percentPlayed(const UnitCoverage& coverage) {
    return sharePercent(coverage.playedCount(), coverage.total());
}

} // namespace

bool coverageMet(const CoverageReport& report) {
    // Exact, not by the rounded share: 99.5 % is below 100.
    const UnitCoverage& coverage = report.coverage;
    return !report.minimum ||
           int64_t{coverage.playedCount()} * 100 >= int64_t{*report.minimum} * coverage.total();
}

void printCoverage(const CoverageReport& report, std::ostream& out) {
    for (const Finding& finding : neverPlayed(report)) {
        printFinding(out, report.script, finding);
    }
    const UnitCoverage& coverage = report.coverage;
    out << report.script << ": " << coverage.playedCount() << " of " << coverage.total()
        << " talk units played (" << percentPlayed(coverage) << "%), " << coverage.appliedCount()
        << " of them applied\n";
    if (!coverageMet(report)) {
        out << report.script << ": coverage " << percentPlayed(coverage)
            << "% is below --min-coverage " << *report.minimum << "\n";
    }
}

nlohmann::ordered_json coverageJson(const CoverageReport& report) {
    const UnitCoverage& coverage = report.coverage;
    nlohmann::ordered_json json;
    json["unitsPlayed"] = coverage.playedCount();
    json["unitsApplied"] = coverage.appliedCount();
    json["unitsTotal"] = coverage.total();
    json["percent"] = percentPlayed(coverage);
    if (report.minimum) {
        json["minCoverage"] = *report.minimum;
    }
    json["met"] = coverageMet(report);
    json["units"] = nlohmann::ordered_json::array();
    for (int32_t c = 0; c < coverage.characters(); ++c) {
        for (int32_t u = 0; u < coverage.units(c); ++u) {
            const Character& character = *report.engine.characters[c];
            nlohmann::ordered_json unit;
            unit["character"] = displayText(character.name);
            unit["state"] = character.units[u]->state;
            unit["line"] = lineOf(report, c, u);
            unit["shown"] = coverage.played(c, u);
            unit["applied"] = coverage.applied(c, u);
            json["units"].push_back(std::move(unit));
        }
    }
    json["neverPlayed"] = nlohmann::ordered_json::array();
    for (const Finding& finding : neverPlayed(report)) {
        json["neverPlayed"].push_back(findingToJson(finding));
    }
    return json;
}

} // namespace murmex::tool
