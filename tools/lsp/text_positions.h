// Between byte offsets in a document and the protocol's positions: a line
// (ended by CR LF, LF or a lone CR, as the protocol counts them) and a column
// in UTF-16 code units. A byte that is no part of a valid UTF-8 sequence
// counts as one unit, as the replacement character an editor shows for it.
// The script's own lines, counted by line feeds as the loader counts them,
// are offered too, for placing what the loader and the lint report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace murmex::lsp {

struct Position {
    // Both from 0.
    int32_t line = 0;
    int32_t character = 0;
};

class TextPositions {
  public:
    // `text` must outlive this.
    explicit TextPositions(const std::string& text);

    // Takes note of an edit already made to the text: the `removed` bytes at
    // `begin` were replaced by `inserted` bytes. Only the lines the edit
    // touches are read again; the rest are moved.
    void replaced(size_t begin, size_t removed, size_t inserted);

    Position at(size_t offset) const;
    // The offset of a position; one past a line's end or past the text is
    // taken as the line's or the text's end.
    size_t offsetOf(Position position) const;

    // Script lines, 0-based, counted by line feeds alone. Offset of the first
    // byte of a line; the text's size past the end.
    size_t lineStart(int32_t line) const;
    // Offset of a script line's end, before its carriage return and line feed.
    size_t lineEnd(int32_t line) const;
    int32_t lineOf(size_t offset) const;

    // Bytes stepped over by at() and offsetOf() so far: each call steps over
    // at most one mark's distance, whatever the length of the line.
    size_t bytesWalked() const { return walked; }

  private:
    // A place where the walk along a protocol line may start: a line's
    // start, and then a sequence's start every MARK_SPACING bytes or so.
    struct Mark {
        size_t offset;
        int32_t column;
    };
    // The script lines' starts, the protocol lines' first marks (indexes
    // into `into`) and the marks of text [from, to), where `from` starts a
    // protocol line and `to` starts the first line kept as it is, or is the
    // text's end when `toEnd` (the last line, empty or not, is then noted).
    void scan(size_t from, size_t to, bool toEnd, std::vector<size_t>& lineStarts,
              std::vector<size_t>& firstMarks, std::vector<Mark>& into) const;
    // The protocol line that holds `offset`, and where a protocol line's
    // text ends, before its line end.
    size_t protocolLineOf(size_t offset) const;
    size_t protocolLineEnd(size_t line) const;
    // Steps over the sequence at `at`, adding its units to `column`; the
    // offset after it.
    size_t step(size_t at, size_t end, int32_t& column) const;

    const std::string& text;
    // Script lines: offsets of their first bytes.
    std::vector<size_t> starts;
    // Protocol lines: the index of each one's first mark.
    std::vector<size_t> lineMarks;
    std::vector<Mark> marks;
    mutable size_t walked = 0;
};

} // namespace murmex::lsp
