// Where the parts of a script stand in its text: character blocks, their
// talk units, the units' fields and conditions, each with its byte range.
// Read lexically, so that a script that does not load still has an outline
// for navigation while its author fixes it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace murmex::lsp {

// Bytes [begin, end) of the document.
struct Span {
    size_t begin = 0;
    size_t end = 0;
    // True also at `end`, where a cursor stands right after the last byte.
    bool touches(size_t offset) const { return begin <= offset && offset <= end; }
};

struct Field {
    // The keyword as written; empty when the value stands without one.
    std::string keyword;
    // The bytes between the quotes, and the value.
    Span value;
    std::string text;
    // From the keyword (or the opening quote) through the closing quote.
    Span whole;
};

// A talk unit's or a condition's fields in script order.
struct FieldList {
    Span span;
    std::vector<Field> fields;
    // The condition field written with this keyword, or else the one at the
    // keyword's place in a condition when that one's keyword is no known
    // one; null when neither is there.
    const Field* find(std::string_view keyword) const;
};

struct UnitEntry : FieldList {
    std::vector<FieldList> conditions;
    // The unit's field of that keyword, as FieldList::find.
    const Field* field(std::string_view keyword) const;
};

struct CharacterEntry {
    std::string name;
    // The name between its quotes; the whole block from the name to its '}'.
    Span nameSpan;
    Span span;
    std::vector<UnitEntry> units;
};

struct ScriptIndex {
    std::vector<CharacterEntry> characters;
};

ScriptIndex indexScript(const std::string& text);

// The character blocks of text [begin, end), read after the header
// text[0, headerEnd) as a script of their own, with their places in the
// whole text, into `into`. False when that part does not read cleanly.
bool indexPart(const std::string& text, size_t headerEnd, size_t begin, size_t end,
               std::vector<CharacterEntry>& into);

// Moves every place of the character's block by `moved` bytes.
void moveCharacter(CharacterEntry& character, std::ptrdiff_t moved);

} // namespace murmex::lsp
