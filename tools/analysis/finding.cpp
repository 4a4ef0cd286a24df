// Wording of findings as lines and as JSON.
#include "tools/analysis/finding.h"

#include "tools/analysis/terminal_text.h"

#include <algorithm>
#include <tuple>

namespace murmex::tool {

void printFinding(std::ostream& out, const std::string& file, const Finding& finding) {
    // Findings quote script texts, which may hold any byte.
    out << file << ':' << finding.line << ": warning: " << terminalText(finding.text) << " ["
        << finding.name << "]\n";
    if (!finding.hasPath) {
        return;
    }
    out << file << ':' << finding.line << ": note: ";
    if (finding.path.empty()) {
        out << "at the start of the game\n";
        return;
    }
    out << "reached by " << finding.path.size()
        << (finding.path.size() == 1 ? " question: " : " questions: ");
    for (size_t i = 0; i < finding.path.size(); ++i) {
        out << (i == 0 ? "\"" : " > \"") << terminalText(finding.path[i]) << '"';
    }
    out << '\n';
}

bool findingBefore(const Finding& a, const Finding& b) {
    return std::tie(a.line, a.name, a.text) < std::tie(b.line, b.name, b.text);
}

void sortFindings(std::vector<Finding>& findings) {
    std::stable_sort(findings.begin(), findings.end(), findingBefore);
}

} // namespace murmex::tool
