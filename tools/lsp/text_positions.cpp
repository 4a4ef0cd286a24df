// Byte offsets and UTF-16 positions of a document.
#include "tools/lsp/text_positions.h"

#include <algorithm>

namespace murmex::lsp {

namespace {

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
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            starts.push_back(i + 1);
        }
    }
}

int32_t TextPositions::lineOf(size_t offset) const {
    offset = std::min(offset, text.size());
    const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
    return static_cast<int32_t>(after - starts.begin()) - 1;
}

Position TextPositions::at(size_t offset) const {
    offset = std::min(offset, text.size());
    Position position;
    position.line = lineOf(offset);
    for (size_t i = starts[static_cast<size_t>(position.line)]; i < offset;) {
        const size_t length = sequenceLength(text, i, offset);
        position.character += unitsOf(length);
        i += std::max<size_t>(length, 1);
    }
    return position;
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

size_t TextPositions::offsetOf(Position position) const {
    if (position.line < 0 || static_cast<size_t>(position.line) >= starts.size()) {
        return position.line < 0 ? 0 : text.size();
    }
    const size_t end = lineEnd(position.line);
    size_t i = lineStart(position.line);
    int32_t units = 0;
    while (i < end && units < position.character) {
        const size_t length = sequenceLength(text, i, end);
        units += unitsOf(length);
        i += std::max<size_t>(length, 1);
    }
    return i;
}

} // namespace murmex::lsp
