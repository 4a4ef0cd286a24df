// Between byte offsets in a document and the protocol's positions: a line
// (counted by line feeds, as the loader counts them) and a column in UTF-16
// code units. A byte that is no part of a valid UTF-8 sequence counts as one
// unit, as the replacement character an editor shows for it.
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

    Position at(size_t offset) const;
    // The offset of a position; one past a line's end or past the text is
    // taken as the line's or the text's end.
    size_t offsetOf(Position position) const;
    // Offset of the first byte of a 0-based line; the text's size past the end.
    size_t lineStart(int32_t line) const;
    // Offset of a line's end, before its carriage return and line feed.
    size_t lineEnd(int32_t line) const;
    int32_t lineOf(size_t offset) const;

  private:
    const std::string& text;
    std::vector<size_t> starts;
};

} // namespace murmex::lsp
