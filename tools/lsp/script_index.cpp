// A lexical pass over a script's text that notes where each part stands.
#include "tools/lsp/script_index.h"

#include "tools/analysis/field_keywords.h"

#include <cctype>
#include <iterator>

namespace murmex::lsp {

namespace {

using tool::CONDITION_FIELD_KEYWORDS;
using tool::UNIT_FIELD_KEYWORDS;

// Nesting: 0 outside blocks, then character block, talk unit, condition.
constexpr int BLOCK = 1;
constexpr int UNIT = 2;
constexpr int CONDITION = 3;

bool isWordByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

template <size_t N>
const Field* findIn(const std::vector<Field>& fields, std::string_view keyword,
                    const std::string_view (&order)[N]) {
    for (const Field& field : fields) {
        if (field.keyword == keyword) {
            return &field;
        }
    }
    for (size_t i = 0; i < N && i < fields.size(); ++i) {
        if (order[i] == keyword && !tool::isFieldKeyword(fields[i].keyword)) {
            return &fields[i];
        }
    }
    return nullptr;
}

class Indexer {
  public:
    explicit Indexer(const std::string& text) : text(text) {}

    ScriptIndex run() {
        while (at < text.size()) {
            step();
        }
        closeAll();
        return std::move(index);
    }

  private:
    void step() {
        const char c = text[at];
        if (c == '#') {
            while (at < text.size() && text[at] != '\n') {
                ++at;
            }
        } else if (c == '"') {
            readValue();
        } else if (isWordByte(c)) {
            readWord();
        } else if (c == '{') {
            open();
            ++at;
        } else if (c == '}') {
            close(at + 1);
            ++at;
        } else {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '=') {
                nameReady = false;
            }
            ++at;
        }
    }

    void readWord() {
        const size_t begin = at;
        while (at < text.size() && isWordByte(text[at])) {
            ++at;
        }
        word = text.substr(begin, at - begin);
        wordBegin = begin;
        nameReady = false;
    }

    // A quoted value runs to its closing quote or, unclosed, to the line's end.
    void readValue() {
        Field field;
        field.whole.begin = word.empty() ? at : wordBegin;
        field.keyword = word;
        field.value.begin = ++at;
        while (at < text.size() && text[at] != '"' && text[at] != '\n') {
            ++at;
        }
        field.value.end = at;
        field.text = text.substr(field.value.begin, at - field.value.begin);
        if (at < text.size() && text[at] == '"') {
            ++at;
        }
        field.whole.end = at;
        word.clear();
        place(std::move(field));
    }

    void place(Field field) {
        if (depth == UNIT) {
            currentUnit().fields.push_back(std::move(field));
        } else if (depth == CONDITION) {
            currentUnit().conditions.back().fields.push_back(std::move(field));
        } else if (depth == 0) {
            lastValue = field;
            nameReady = true;
        }
    }

    void open() {
        if (depth == 0) {
            CharacterEntry character;
            if (nameReady) {
                character.name = lastValue.text;
                character.nameSpan = lastValue.value;
                character.span.begin = lastValue.whole.begin;
            } else {
                character.nameSpan = {at, at};
                character.span.begin = at;
            }
            index.characters.push_back(std::move(character));
        } else if (depth == BLOCK) {
            UnitEntry unit;
            unit.span.begin = at;
            index.characters.back().units.push_back(std::move(unit));
        } else if (depth == UNIT) {
            FieldList condition;
            condition.span.begin = at;
            currentUnit().conditions.push_back(std::move(condition));
        }
        ++depth;
        word.clear();
        nameReady = false;
    }

    void close(size_t end) {
        if (depth == BLOCK) {
            index.characters.back().span.end = end;
        } else if (depth == UNIT) {
            currentUnit().span.end = end;
        } else if (depth == CONDITION) {
            currentUnit().conditions.back().span.end = end;
        }
        depth = depth > 0 ? depth - 1 : 0;
        word.clear();
        nameReady = false;
    }

    void closeAll() {
        while (depth > 0) {
            close(text.size());
        }
    }

    UnitEntry& currentUnit() { return index.characters.back().units.back(); }

    const std::string& text;
    size_t at = 0;
    int depth = 0;
    std::string word;
    size_t wordBegin = 0;
    // The last value outside blocks, which names the block when a '{' follows.
    Field lastValue;
    bool nameReady = false;
    ScriptIndex index;
};

} // namespace

const Field* FieldList::find(std::string_view keyword) const {
    return findIn(fields, keyword, CONDITION_FIELD_KEYWORDS);
}

const Field* UnitEntry::field(std::string_view keyword) const {
    return findIn(fields, keyword, UNIT_FIELD_KEYWORDS);
}

ScriptIndex indexScript(const std::string& text) {
    return Indexer(text).run();
}

bool indexPart(const std::string& text, size_t headerEnd, size_t begin, size_t end,
               std::vector<CharacterEntry>& into) {
    (void)headerEnd;
    ScriptIndex part = indexScript(text.substr(begin, end - begin));
    for (CharacterEntry& character : part.characters) {
        moveCharacter(character, static_cast<std::ptrdiff_t>(begin));
        into.push_back(std::move(character));
    }
    return true;
}

namespace {

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
