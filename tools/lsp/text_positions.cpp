// Byte offsets and UTF-16 positions of a document.
#include "tools/lsp/text_positions.h"

#include <algorithm>

namespace murmex::lsp {

namespace {

// Bytes between the marks a walk may start from: a conversion steps over
// no more than this (and one sequence) on a line of any length.
constexpr size_t MARK_SPACING = 64;

// Length of the valid UTF-8 sequence at `at`, or 0 when the byte there
// starts none.
size_t sequenceLength(const std::string& text, size_t at, size_t end) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (at + length > end) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// UTF-16 units of a sequence of `length` bytes (0: an invalid byte).
int32_t unitsOf(size_t length) {
    return length == 4 ? 2 : 1;
}

} // namespace

TextPositions::TextPositions(const std::string& text) : text(text) {
    starts.push_back(0);
    scan(0, text.size(), true, starts, lineMarks, marks);
}

void TextPositions::scan(size_t from, size_t to, bool toEnd, std::vector<size_t>& lineStarts,
                         std::vector<size_t>& firstMarks, std::vector<Mark>& into) const {
    firstMarks.push_back(into.size());
    into.push_back({from, 0});
    int32_t column = 0;
    for (size_t i = from; i < to;) {
        if (text[i] == '\n' || text[i] == '\r') {
            const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            i += crlf ? 2 : 1;
            if (text[i - 1] == '\n') {
                lineStarts.push_back(i);
            }
            if (i >= to && !toEnd) {
                break;
            }
            firstMarks.push_back(into.size());
            into.push_back({i, 0});
            column = 0;
            continue;
        }
        if (i - into.back().offset >= MARK_SPACING) {
            into.push_back({i, column});
        }
        const size_t length = sequenceLength(text, i, text.size());
        column += unitsOf(length);
        i += std::max<size_t>(length, 1);
    }
}

void TextPositions::replaced(size_t begin, size_t removed, size_t inserted) {
    const size_t oldSize = text.size() + removed - inserted;
    // From the start of the protocol line before the edit, which a carriage
    // return the edit joins to a line feed may end, to the start of the
    // first line that begins after it; both stand where they stood.
    const size_t before = protocolLineOf(begin > 0 ? begin - 1 : 0);
    const size_t from = marks[lineMarks[before]].offset;
    size_t after = before;
    while (after < lineMarks.size() && marks[lineMarks[after]].offset <= begin + removed) {
        ++after;
    }
    const size_t oldTo = after < lineMarks.size() ? marks[lineMarks[after]].offset : oldSize;
    const size_t to = oldTo + inserted - removed;
    std::vector<size_t> newStarts;
    std::vector<size_t> newFirstMarks;
    std::vector<Mark> newMarks;
    scan(from, to, after == lineMarks.size(), newStarts, newFirstMarks, newMarks);
    const auto shift = [&](size_t offset) { return offset + inserted - removed; };

    const auto firstStart = std::upper_bound(starts.begin(), starts.end(), from);
    const auto endStart = std::upper_bound(firstStart, starts.end(), oldTo);
    for (auto at = endStart; at != starts.end(); ++at) {
        *at = shift(*at);
    }
    const auto keptStarts = starts.erase(firstStart, endStart);
    starts.insert(keptStarts, newStarts.begin(), newStarts.end());

    const size_t firstMark = lineMarks[before];
    const size_t endMark = after < lineMarks.size() ? lineMarks[after] : marks.size();
    for (size_t i = endMark; i < marks.size(); ++i) {
        marks[i].offset = shift(marks[i].offset);
    }
    for (size_t i = after; i < lineMarks.size(); ++i) {
        lineMarks[i] = lineMarks[i] + newMarks.size() - (endMark - firstMark);
    }
    for (size_t& mark : newFirstMarks) {
        mark += firstMark;
    }
    marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(firstMark),
                marks.begin() + static_cast<std::ptrdiff_t>(endMark));
    marks.insert(marks.begin() + static_cast<std::ptrdiff_t>(firstMark), newMarks.begin(),
                 newMarks.end());
    lineMarks.erase(lineMarks.begin() + static_cast<std::ptrdiff_t>(before),
                    lineMarks.begin() + static_cast<std::ptrdiff_t>(after));
    lineMarks.insert(lineMarks.begin() + static_cast<std::ptrdiff_t>(before), newFirstMarks.begin(),
                     newFirstMarks.end());
}

size_t TextPositions::step(size_t at, size_t end, int32_t& column) const {
    const size_t length = sequenceLength(text, at, end);
    column += unitsOf(length);
    const size_t taken = std::max<size_t>(length, 1);
    walked += taken;
    return at + taken;
}

size_t TextPositions::protocolLineOf(size_t offset) const {
    const auto after =
        std::upper_bound(lineMarks.begin(), lineMarks.end(), offset,
                         [&](size_t wanted, size_t mark) { return wanted < marks[mark].offset; });
    return static_cast<size_t>(after - lineMarks.begin()) - 1;
}

size_t TextPositions::protocolLineEnd(size_t line) const {
    if (line + 1 >= lineMarks.size()) {
        return text.size();
    }
    size_t end = marks[lineMarks[line + 1]].offset;
    if (text[end - 1] == '\n') {
        --end;
    }
    if (end > marks[lineMarks[line]].offset && text[end - 1] == '\r') {
        --end;
    }
    return end;
}

Position TextPositions::at(size_t offset) const {
    offset = std::min(offset, text.size());
    const auto after =
        std::upper_bound(marks.begin(), marks.end(), offset,
                         [](size_t wanted, const Mark& mark) { return wanted < mark.offset; });
    const Mark& from = *(after - 1);
    Position position{static_cast<int32_t>(protocolLineOf(offset)), from.column};
    for (size_t i = from.offset; i < offset;) {
        i = step(i, offset, position.character);
    }
    return position;
}

size_t TextPositions::offsetOf(Position position) const {
    if (position.line < 0 || static_cast<size_t>(position.line) >= lineMarks.size()) {
        return position.line < 0 ? 0 : text.size();
    }
    const auto line = static_cast<size_t>(position.line);
    const auto first = marks.begin() + static_cast<std::ptrdiff_t>(lineMarks[line]);
    const auto last = line + 1 < lineMarks.size()
                          ? marks.begin() + static_cast<std::ptrdiff_t>(lineMarks[line + 1])
                          : marks.end();
    const auto after =
        std::upper_bound(first, last, position.character,
                         [](int32_t wanted, const Mark& mark) { return wanted < mark.column; });
    const Mark& from = *(after - 1);
    const size_t end = protocolLineEnd(line);
    size_t i = from.offset;
    int32_t units = from.column;
    while (i < end && units < position.character) {
        i = step(i, end, units);
    }
    return i;
}

int32_t TextPositions::lineOf(size_t offset) const {
    offset = std::min(offset, text.size());
    const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
    return static_cast<int32_t>(after - starts.begin()) - 1;
}

size_t TextPositions::lineStart(int32_t line) const {
    if (line < 0) {
        return 0;
    }
    return static_cast<size_t>(line) < starts.size() ? starts[static_cast<size_t>(line)]
                                                     : text.size();
}

size_t TextPositions::lineEnd(int32_t line) const {
    size_t end = lineStart(line + 1);
    if (end > lineStart(line) && text[end - 1] == '\n') {
        --end;
    }
    if (end > lineStart(line) && text[end - 1] == '\r') {
        --end;
    }
    return end;
}

} // namespace murmex::lsp
