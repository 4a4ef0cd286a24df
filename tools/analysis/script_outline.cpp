// Finding where blocks and units open, by the first bytes of each line.
#include "tools/analysis/script_outline.h"

namespace murmex::tool {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

size_t skipBlanks(const std::string& text, size_t at) {
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

LineStart classify(const std::string& text, size_t lineStart) {
    size_t at = lineStart;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    if (at >= text.size()) {
        return LineStart::Other;
    }
    if (text[at] == '{') {
        // A unit's first field may stand on the next line.
        at = skipBlanks(text, at + 1);
        return at < text.size() && text[at] == 'S' ? LineStart::TalkUnit : LineStart::Other;
    }
    if (text[at] == '"') {
        const size_t close = text.find_first_of("\"\n", at + 1);
        if (close == std::string::npos || text[close] != '"') {
            return LineStart::Other;
        }
        at = skipBlanks(text, close + 1);
        return at < text.size() && text[at] == '{' ? LineStart::CharacterBlock : LineStart::Other;
    }
    return LineStart::Other;
}

} // namespace

ScriptOutline::ScriptOutline(const std::string& scriptText) : text(scriptText) {
    size_t at = 0;
    for (;;) {
        starts.push_back(at);
        kinds.push_back(classify(text, at));
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
}

size_t ScriptOutline::lineOffset(int32_t line) const {
    if (line < 1) {
        return 0;
    }
    return line > lineCount() ? text.size() : starts[static_cast<size_t>(line - 1)];
}

LineStart ScriptOutline::kind(int32_t line) const {
    if (line < 1 || line > lineCount()) {
        return LineStart::Other;
    }
    return kinds[static_cast<size_t>(line - 1)];
}

int32_t ScriptOutline::nextOpening(int32_t line, int32_t end) const {
    for (int32_t next = line + 1; next < end && next <= lineCount(); ++next) {
        if (opensSomething(next)) {
            return next;
        }
    }
    return 0;
}

int32_t ScriptOutline::openingOf(int32_t line, int32_t first) const {
    for (int32_t at = line; at > first; --at) {
        if (opensSomething(at)) {
            return at;
        }
    }
    return first;
}

} // namespace murmex::tool
