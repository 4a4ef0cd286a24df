// Breaking a word-wrapped text into lines.
#include "window/word_wrap.h"

namespace kestrine {

namespace {

bool isSpace(char32_t point) {
    return point == U' ';
}

bool endsLine(char32_t point) {
    return point == U'\n';
}

} // namespace

WrappedText wrapText(const std::vector<WrapUnit>& units, int32_t lineWidth) {
    WrappedText wrapped;
    WrappedLine line = {0, 0, 0};
    bool lineHasWord = false;
    int32_t spacesBefore = 0;
    size_t at = 0;
    while (at < units.size()) {
        const WrapUnit unit = units[at];
        if (endsLine(unit.point)) {
            wrapped.lines.push_back(lineHasWord ? line : WrappedLine{at, at, 0});
            line = {at + 1, at + 1, 0};
            lineHasWord = false;
            spacesBefore = 0;
            ++at;
            continue;
        }
        if (isSpace(unit.point)) {
            spacesBefore += unit.width;
            ++at;
            continue;
        }
        size_t wordEnd = at;
        int32_t word = 0;
        while (wordEnd < units.size() && !isSpace(units[wordEnd].point) &&
               !endsLine(units[wordEnd].point)) {
            word += units[wordEnd].width;
            ++wordEnd;
        }
        const int32_t spaceAfter =
            wordEnd < units.size() && isSpace(units[wordEnd].point) ? units[wordEnd].width : 0;
        wrapped.wordTooWide = wrapped.wordTooWide || word > lineWidth;
        if (lineHasWord && line.width + spacesBefore + word + spaceAfter > lineWidth) {
            wrapped.lines.push_back(line);
            line = {at, wordEnd, word};
        } else {
            line.end = wordEnd;
            line.width += spacesBefore + word;
        }
        lineHasWord = true;
        spacesBefore = 0;
        at = wordEnd;
    }
    wrapped.lines.push_back(lineHasWord ? line : WrappedLine{units.size(), units.size(), 0});
    return wrapped;
}

size_t linesWithText(const WrappedText& wrapped) {
    size_t count = wrapped.lines.size();
    while (count > 0 && wrapped.lines[count - 1].begin == wrapped.lines[count - 1].end) {
        --count;
    }
    return count;
}

} // namespace kestrine
