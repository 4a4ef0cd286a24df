// The lines of characters, units and colours, as the loader tells them.
#include "loader/script_line_notes.h"

namespace murmex {

void ScriptLineNotes::field(const SyntaxFieldEvent& event) {
    if (also != nullptr) {
        also->field(event);
    }
    if (lines == nullptr) {
        return;
    }
    // A colour's line is where its last component ends.
    if (event.field == ScriptField::Name) {
        nameLine = event.value.line;
    } else if (event.field == ScriptField::Color && event.component == 2) {
        lines->colorLine = event.value.line;
    } else if (event.field == ScriptField::TextColor && event.component == 2) {
        lines->textColorLine = event.value.line;
    }
}

void ScriptLineNotes::open(ScriptBlock block, const SyntaxSpan& at) {
    if (also != nullptr) {
        also->open(block, at);
    }
    if (block == ScriptBlock::Character) {
        ++character;
        unit = 0;
    } else if (block == ScriptBlock::Unit) {
        unitLine = at.line;
    }
}

void ScriptLineNotes::close(ScriptBlock block, const SyntaxSpan& at) {
    if (also != nullptr) {
        also->close(block, at);
    }
    // The filling pass makes at most as many records as the table holds.
    if (lines == nullptr || character < 0 || character >= MAX_CHARACTERS) {
        return;
    }
    if (block == ScriptBlock::Character) {
        lines->characterLines[character] = nameLine;
    } else if (block == ScriptBlock::Unit && unit < MAX_UNITS) {
        lines->unitLines[character][unit] = unitLine;
        ++unit;
    }
}

} // namespace murmex
