// Script lines around an error, descrambled and decoded for display.
#include "tools/script_io/source_context.h"

#include "murmex/authoring/scrambling_source.h"
#include "text/display_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace murmex::tool {

namespace {

// One line as far as it is kept: its first bytes and its whole length.
struct KeptLine {
    std::string start;
    size_t length = 0;
};

struct KeptLines {
    std::vector<KeptLine> lines;
    // The source goes on after the last line kept.
    bool more = false;
};

// The lines numbered first to last, as far as the source has them. Reading
// stops after the last; lines before the first are only counted.
KeptLines keptLines(ScriptSource& source, int64_t first, int64_t last) {
    KeptLines kept;
    std::vector<KeptLine>& lines = kept.lines;
    if (!source.startPass()) {
        return kept;
    }
    int64_t number = 1;
    if (first == 1) {
        lines.emplace_back();
    }
    std::vector<uint8_t> chunk(64 * 1024);
    bool done = false;
    while (!done) {
        const size_t got = std::min(source.read(chunk.data(), chunk.size()), chunk.size());
        if (got == 0) {
            break;
        }
        for (size_t i = 0; i < got && !done; ++i) {
            if (number < first) {
                // Lines before the first shown are only counted, a line
                // feed at a time rather than a byte at a time.
                const void* feed = std::memchr(chunk.data() + i, '\n', got - i);
                if (feed == nullptr) {
                    break;
                }
                i = static_cast<size_t>(static_cast<const uint8_t*>(feed) - chunk.data());
            }
            if (chunk[i] == '\n') {
                ++number;
                done = number > last;
                if (!done && number >= first) {
                    lines.emplace_back();
                }
            } else if (number >= first) {
                KeptLine& current = lines.back();
                // One byte beyond the width, to see a carriage return that
                // ends a line just at the width.
                if (current.start.size() <= CONTEXT_WIDTH) {
                    current.start += static_cast<char>(chunk[i]);
                }
                ++current.length;
            }
        }
    }
    source.endPass();
    kept.more = done;
    return kept;
}

// A line as a terminal can show it: no line end, no control bytes that would
// move the cursor or stop the decoding at a zero, cut to the width.
std::string printable(KeptLine line) {
    std::string& text = line.start;
    if (line.length == text.size() && !text.empty() && text.back() == '\r') {
        text.pop_back();
        --line.length;
    }
    const bool cut = line.length > CONTEXT_WIDTH;
    if (cut) {
        text.resize(CONTEXT_WIDTH);
    }
    for (char& byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        if ((value < 0x20 && value != '\t') || value == 0x7F) {
            byte = '?';
        }
    }
    return displayText(text.c_str()) + (cut ? " [...]" : "");
}

} // namespace

std::string sourceContext(ScriptSource& source, bool descramble, int32_t line, int32_t around) {
    if (line < 1) {
        return "";
    }
    const int64_t first = std::max<int64_t>(1, int64_t{line} - around);
    ScramblingSource descrambled(source);
    ScriptSource& read = descramble ? static_cast<ScriptSource&>(descrambled) : source;
    const KeptLines kept = keptLines(read, first, int64_t{line} + around);
    const std::vector<KeptLine>& lines = kept.lines;
    // The lines the source has, counted from `first`.
    const int64_t lastPresent = first + static_cast<int64_t>(lines.size()) - 1;
    if (line > lastPresent) {
        return "";
    }
    int64_t last = lastPresent;
    // The empty rest after the file's last line feed is only worth showing
    // when the error stands there.
    if (!kept.more && last > line && lines.back().length == 0) {
        --last;
    }
    const size_t gutter = std::to_string(last).size();

    std::string context;
    for (int64_t number = first; number <= last; ++number) {
        const std::string digits = std::to_string(number);
        context += number == line ? "> " : "  ";
        context.append(gutter - digits.size(), ' ');
        const std::string shown = printable(lines[static_cast<size_t>(number - first)]);
        // No blank after the bar of an empty line.
        context += digits + (shown.empty() ? " |" : " | " + shown) + '\n';
    }
    return context;
}

std::string sourceContext(const std::string& bytes, bool descramble, int32_t line, int32_t around) {
    MemorySource source(bytes.data(), bytes.size());
    return sourceContext(source, descramble, line, around);
}

} // namespace murmex::tool
