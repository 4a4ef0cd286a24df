// A finding of `lint` or `explore`: something in a script that an author should
// look at, tied to a line, worded the way compilers word a warning so that
// editors and build logs pick it up.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace murmex::tool {

struct Finding {
    // 1-based script line of the character or talk unit concerned; 1 for a
    // finding about the script as a whole.
    int32_t line = 1;
    // Stable name of the kind of finding, for filtering and suppressing.
    std::string name;
    // What is wrong, in UTF-8.
    std::string text;
    // Questions (as texts) that lead from the start of the game to the
    // finding, for findings of the explorer; empty otherwise.
    std::vector<std::string> path;
    // True when `path` applies (a failure right at the start has an empty one).
    bool hasPath = false;
    // True when `text` names a line besides `line`: once lines before that
    // one are added or removed, the words are out of date and the finding
    // must be made again, not only moved.
    bool citesLine = false;
};

// "FILE:LINE: warning: TEXT [name]", and for a finding with a path a second
// line "FILE:LINE: note: reached by N questions: "Q1" > "Q2"", with control
// characters of the texts written out as terminalText does.
void printFinding(std::ostream& out, const std::string& file, const Finding& finding);

// Sorted by line, then name, then text, so output is stable across runs.
void sortFindings(std::vector<Finding>& findings);
// True when `a` comes before `b` in that order.
bool findingBefore(const Finding& a, const Finding& b);

} // namespace murmex::tool
