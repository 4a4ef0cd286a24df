// Updating plans: each is played, its changes shown as a unified diff (one
// hunk a changed line), and the plan file written whole, or not at all.
#include "tools/cli/test_update.h"

#include "tools/analysis/terminal_text.h"
#include "tools/authoring/plan_update.h"
#include "tools/authoring/play_session.h"
#include "tools/platform/file_output.h"

namespace murmex::tool {

namespace {

void printDiff(const std::string& path, const std::vector<PlanChange>& changes, std::ostream& out) {
    out << "--- " << terminalText(path) << "\n+++ " << terminalText(path) << '\n';
    for (const PlanChange& change : changes) {
        const std::string line = std::to_string(change.line);
        out << "@@ -" << line << " +" << line << " @@\n-" << terminalText(change.before) << "\n+"
            << terminalText(change.after) << '\n';
    }
}

enum class Outcome { UpToDate, Updated, NotUpdated };

Outcome updateOne(const std::string& path, const TestOptions& options, std::ostream& out) {
    std::string text;
    TranscriptPlan plan;
    if (!readPlan(path, text, plan, out)) {
        return Outcome::NotUpdated;
    }
    PlaySession session;
    session.open(options.script, options.plain);
    PlanUpdate update;
    PlanHalt halt;
    if (!updatePlan(text, plan, session, update, halt)) {
        out << path << ':' << halt.line << ": expected " << terminalText(halt.expected) << ", got "
            << terminalText(halt.got) << '\n';
        return Outcome::NotUpdated;
    }
    if (update.changes.empty()) {
        return Outcome::UpToDate;
    }
    std::string error;
    if (!writeFileWhole(path, update.text, true, error)) {
        out << path << ": error: cannot write plan: " << error << '\n';
        return Outcome::NotUpdated;
    }
    printDiff(path, update.changes, out);
    return Outcome::Updated;
}

} // namespace

int runUpdate(const TestOptions& options, std::ostream& out, std::ostream&) {
    int32_t counts[3] = {0, 0, 0};
    const char* words[3] = {": up to date", ": updated", ": not updated"};
    for (const std::string& path : options.plans) {
        const Outcome outcome = updateOne(path, options, out);
        out << path << words[static_cast<int>(outcome)] << '\n';
        ++counts[static_cast<int>(outcome)];
    }
    out << counts[0] << " up to date, " << counts[1] << " updated, " << counts[2]
        << " not updated\n";
    return counts[2] == 0 ? EXIT_OK : EXIT_FAILED;
}

} // namespace murmex::tool
