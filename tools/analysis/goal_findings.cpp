// Wording of the goals' verdict.
#include "tools/analysis/goal_findings.h"

#include "tools/analysis/situation_store.h"
#include "tools/analysis/unit_text.h"

#include <algorithm>

namespace murmex::tool {

namespace {

// How much of a question a finding's text quotes; the path quotes it whole.
constexpr size_t QUOTED_CHARACTERS = 40;

Finding closureFinding(const ConversationEngine& engine, const ScriptPlaces& lines,
                       const ExploreReport& report, const GoalClosure& closure,
                       const std::string& aims) {
    const int32_t c = report.store->record(closure.situation).character;
    const TalkUnit& unit = *engine.characters[c]->units[closure.unit];
    Finding finding;
    finding.line = std::max(lines.unitLine(c, closure.unit), 1);
    finding.name = GOAL_UNREACHABLE;
    finding.text = "after \"" + shortText(unit.question, QUOTED_CHARACTERS) +
                   "\", no goal can be met any more: " + aims;
    finding.hasPath = true;
    finding.path = questionsTo(engine, report, closure.situation, closure.unit);
    return finding;
}

} // namespace

std::vector<Finding> goalFindings(const ConversationEngine& engine, const ScriptPlaces& lines,
                                  const ExploreReport& report, const std::vector<Goal>& goals) {
    std::vector<Finding> findings;
    if (report.goalVerdict != GoalVerdict::Judged || report.situations == 0) {
        return findings;
    }
    const std::string aims = goalsText(goals);
    if (!report.goals.reachable) {
        Finding finding;
        finding.name = GOAL_UNREACHABLE;
        finding.text = "no goal can be met from the start: " + aims;
        finding.hasPath = true;
        findings.push_back(std::move(finding));
        return findings;
    }
    for (const GoalClosure& closure : report.goals.closures) {
        findings.push_back(closureFinding(engine, lines, report, closure, aims));
    }
    return findings;
}

} // namespace murmex::tool
