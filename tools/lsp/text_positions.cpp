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
    lineMarks.push_back(0);
    marks.push_back({0, 0});
    int32_t column = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\n' || text[i] == '\r') {
            const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            i += crlf ? 2 : 1;
            if (text[i - 1] == '\n') {
                starts.push_back(i);
            }
            lineMarks.push_back(marks.size());
            marks.push_back({i, 0});
            column = 0;
            continue;
        }
        if (i - marks.back().offset >= MARK_SPACING) {
            marks.push_back({i, column});
        }
        const size_t length = sequenceLength(text, i, text.size());
        column += unitsOf(length);
        i += std::max<size_t>(length, 1);
    }
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
