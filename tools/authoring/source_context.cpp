// Script lines around an error, descrambled and decoded for display.
#include "tools/authoring/source_context.h"

#include "text/display_text.h"
#include "tools/analysis/script_bytes.h"

#include <algorithm>
#include <vector>

namespace murmex::tool {

namespace {

// Splits at line feeds; the text after the last one is a line too, as the
// loader's line count has it.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines(1);
    for (const char byte : bytes) {
        if (byte == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += byte;
        }
    }
    return lines;
}

// A line as a terminal can show it: no line end, no control bytes that would
// move the cursor or stop the decoding at a zero.
std::string printable(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    for (char& byte : line) {
        const auto value = static_cast<unsigned char>(byte);
        if ((value < 0x20 && value != '\t') || value == 0x7F) {
            byte = '?';
        }
    }
    return displayText(line.c_str());
}

} // namespace

std::string sourceContext(const std::string& bytes, bool descramble, int32_t line, int32_t around) {
    std::string text = bytes;
    if (descramble) {
        scrambleInPlace(text);
    }
    const std::vector<std::string> lines = linesOf(text);
    const auto lineCount = static_cast<int64_t>(lines.size());
    if (line < 1 || line > lineCount) {
        return "";
    }
    const int64_t first = std::max<int64_t>(1, int64_t{line} - around);
    int64_t last = std::min<int64_t>(lineCount, int64_t{line} + around);
    // The empty rest after the file's last line feed is only worth showing
    // when the error stands there.
    if (last > line && lines[static_cast<size_t>(last - 1)].empty() && last == lineCount) {
        --last;
    }
    const size_t gutter = std::to_string(last).size();

    std::string context;
    for (int64_t number = first; number <= last; ++number) {
        const std::string digits = std::to_string(number);
        context += number == line ? "> " : "  ";
        context.append(gutter - digits.size(), ' ');
        const std::string shown = printable(lines[static_cast<size_t>(number - 1)]);
        // No blank after the bar of an empty line.
        context += digits + (shown.empty() ? " |" : " | " + shown) + '\n';
    }
    return context;
}

} // namespace murmex::tool
