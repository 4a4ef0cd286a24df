// Where the parts of a script stand in its text: character blocks, their
// talk units, the units' fields and conditions, each with its byte range.
// Read by the loader's recovering scan, so that a script that does not load
// still has an outline for navigation while its author fixes it.
#pragma once

#include "murmex/script_syntax.h"

#include <cstddef>
#include <string>
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
    ScriptField field = ScriptField::Name;
    // The bytes between the quotes, and the value.
    Span value;
    std::string text;
    // From the keyword (or the opening quote) through the closing quote.
    Span whole;
};

// A talk unit's or a condition's fields in script order, as the loader
// read them.
struct FieldList {
    Span span;
    std::vector<Field> fields;
    // The field read as `field`; null when it was not read.
    const Field* find(ScriptField field) const;
};

struct UnitEntry : FieldList {
    std::vector<FieldList> conditions;
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
