// The shape of a script's text by its lines, for an analysis that goes on
// after an error: where each line starts, and which lines open a character
// block or a talk unit. The loader itself never looks at lines this way; a
// broken script can only be read on by guessing where its next sound part
// begins, and authors start blocks and units on lines of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

enum class LineStart : uint8_t {
    Other,
    // `"Name" {`: a character's block begins here.
    CharacterBlock,
    // `{ S = ...`: a talk unit begins here.
    TalkUnit,
};

class ScriptOutline {
  public:
    // `text` is the script as the loader reads it (descrambled), and must
    // outlive the outline.
    explicit ScriptOutline(const std::string& text);

    // Lines are counted from 1, as the loader counts them; lineCount() + 1
    // stands for the end of the text.
    int32_t lineCount() const { return static_cast<int32_t>(starts.size()); }
    // Offset of the line's first byte; the text's size for the end.
    size_t lineOffset(int32_t line) const;
    LineStart kind(int32_t line) const;
    bool opensSomething(int32_t line) const { return kind(line) != LineStart::Other; }

    // The first line after `line` and before `end` that opens a block or a
    // unit, or 0 when there is none.
    int32_t nextOpening(int32_t line, int32_t end) const;
    // The last line from `first` to `line` that opens a block or a unit, or
    // `first` when none does.
    int32_t openingOf(int32_t line, int32_t first) const;

  private:
    const std::string& text;
    std::vector<size_t> starts;
    std::vector<LineStart> kinds;
};

} // namespace murmex::tool
