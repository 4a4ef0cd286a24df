// An index filled from what the loader's scan tells of a script.
#include "tools/lsp/script_index.h"

#include <algorithm>
#include <utility>

namespace murmex::lsp {

namespace {

// Notes the blocks, units, conditions and fields the scan reads. After an
// error the scan reads on at the next unit, which belongs to the block
// before, or at the next block; what the error left open ends where it
// stood.
class Indexer final : public SyntaxListener {
  public:
    // The scanned bytes are text[0, headerEnd) and then text from `begin`.
    Indexer(const std::string& text, size_t headerEnd, size_t begin, size_t end)
        : text(text), headerEnd(headerEnd), begin(begin), end(end) {}

    void field(const SyntaxFieldEvent& event) override {
        if (event.field == ScriptField::Title || event.field == ScriptField::Color ||
            event.field == ScriptField::TextColor) {
            return;
        }
        Field field;
        field.field = event.field;
        field.value = {place(event.value.begin), place(event.value.end)};
        field.text = text.substr(field.value.begin, field.value.end - field.value.begin);
        const bool keyword = event.keyword.end > event.keyword.begin;
        field.whole = {keyword ? place(event.keyword.begin) : field.value.begin - 1,
                       std::min(field.value.end + 1, end)};
        if (event.field == ScriptField::Name) {
            name = std::move(field);
            named = true;
        } else if (condition) {
            currentUnit().conditions.back().fields.push_back(std::move(field));
        } else if (unit) {
            currentUnit().fields.push_back(std::move(field));
        }
    }

    void open(ScriptBlock block, const SyntaxSpan& at) override {
        const size_t offset = place(at.begin);
        if (block == ScriptBlock::Character) {
            endCharacter();
            CharacterEntry character;
            if (named) {
                character.name = name.text;
                character.nameSpan = name.value;
                character.span.begin = name.whole.begin;
            } else {
                character.nameSpan = {offset, offset};
                character.span.begin = offset;
            }
            named = false;
            index.characters.push_back(std::move(character));
            inCharacter = true;
        } else if (block == ScriptBlock::Unit) {
            // A unit read on after an error outside any block stands in a
            // block of its own.
            if (!inCharacter) {
                index.characters.push_back({"", {offset, offset}, {offset, offset}, {}});
            }
            inCharacter = true;
            UnitEntry entry;
            entry.span = {offset, offset};
            index.characters.back().units.push_back(std::move(entry));
            unit = true;
        } else if (block == ScriptBlock::Condition && unit) {
            currentUnit().conditions.push_back({{offset, offset}, {}});
            condition = true;
        }
    }

    void close(ScriptBlock block, const SyntaxSpan& at) override {
        const size_t offset = place(at.end);
        if (block == ScriptBlock::Character && inCharacter) {
            index.characters.back().span.end = offset;
            inCharacter = false;
        } else if (block == ScriptBlock::Unit && unit) {
            currentUnit().span.end = offset;
            unit = false;
        } else if (block == ScriptBlock::Condition && condition) {
            currentUnit().conditions.back().span.end = offset;
            condition = false;
        }
    }

    void error(const SyntaxError& error) override {
        ++errors;
        if (error.readsOn) {
            // The scan goes on where it stands: nothing open is left.
            return;
        }
        const size_t offset = std::max(place(error.detail.offset), begin);
        if (condition) {
            FieldList& open = currentUnit().conditions.back();
            open.span.end = std::max(open.span.begin, offset);
            condition = false;
        }
        if (unit) {
            currentUnit().span.end = std::max(currentUnit().span.begin, offset);
            unit = false;
        }
        if (inCharacter) {
            CharacterEntry& open = index.characters.back();
            open.span.end = std::max(open.span.begin, offset);
        }
        named = false;
    }

    // A block the text ends in runs to its end.
    ScriptIndex finish() {
        if (inCharacter) {
            index.characters.back().span.end = end;
        }
        return take();
    }
    ScriptIndex take() { return std::move(index); }

    int32_t errors = 0;

  private:
    size_t place(uint32_t at) const { return at < headerEnd ? at : at - headerEnd + begin; }

    UnitEntry& currentUnit() { return index.characters.back().units.back(); }

    // A block still open when the next one opens was left by an error, and
    // ends with the last unit read in it after the error.
    void endCharacter() {
        if (inCharacter) {
            CharacterEntry& open = index.characters.back();
            if (!open.units.empty()) {
                open.span.end = std::max(open.span.end, open.units.back().span.end);
            }
        }
        inCharacter = false;
        unit = false;
        condition = false;
    }

    const std::string& text;
    size_t headerEnd;
    size_t begin;
    size_t end;
    ScriptIndex index;
    Field name;
    bool named = false;
    bool inCharacter = false;
    bool unit = false;
    bool condition = false;
};

void move(Span& span, std::ptrdiff_t moved) {
    span.begin = static_cast<size_t>(static_cast<std::ptrdiff_t>(span.begin) + moved);
    span.end = static_cast<size_t>(static_cast<std::ptrdiff_t>(span.end) + moved);
}

void move(FieldList& list, std::ptrdiff_t moved) {
    move(list.span, moved);
    for (Field& field : list.fields) {
        move(field.value, moved);
        move(field.whole, moved);
    }
}

} // namespace

const Field* FieldList::find(ScriptField field) const {
    for (const Field& written : fields) {
        if (written.field == field) {
            return &written;
        }
    }
    return nullptr;
}

ScriptIndex indexScript(const std::string& text) {
    Indexer indexer(text, 0, 0, text.size());
    scanScript(text.data(), text.size(), indexer);
    return indexer.finish();
}

bool indexPart(const std::string& text, size_t headerEnd, size_t begin, size_t end,
               std::vector<CharacterEntry>& into) {
    std::string part = text.substr(0, headerEnd);
    part.append(text, begin, end - begin);
    Indexer indexer(text, headerEnd, begin, end);
    if (scanScript(part.data(), part.size(), indexer) != 0) {
        return false;
    }
    for (CharacterEntry& character : indexer.finish().characters) {
        into.push_back(std::move(character));
    }
    return true;
}

void moveCharacter(CharacterEntry& character, std::ptrdiff_t moved) {
    move(character.nameSpan, moved);
    move(character.span, moved);
    for (UnitEntry& unit : character.units) {
        move(unit, moved);
        for (FieldList& condition : unit.conditions) {
            move(condition, moved);
        }
    }
}

} // namespace murmex::lsp
