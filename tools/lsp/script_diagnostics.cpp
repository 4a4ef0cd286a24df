// Loading a document from memory and placing what the load and lint say.
#include "tools/lsp/script_diagnostics.h"

#include "murmex/script_keywords.h"
#include "tools/analysis/script_lint.h"
#include "tools/lsp/text_positions.h"
#include "tools/script_io/script_errors.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_places.h"
#include "tools/script_io/script_reading.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace murmex::lsp {

namespace {

// The line's bytes from its first non-blank one; 0-based line.
Span lineSpan(const std::string& text, const TextPositions& positions, int32_t line) {
    Span span{positions.lineStart(line), positions.lineEnd(line)};
    while (span.begin < span.end && (text[span.begin] == ' ' || text[span.begin] == '\t')) {
        ++span.begin;
    }
    return span;
}

const Field* fieldTouching(const std::vector<Field>& fields, size_t offset) {
    for (const Field& field : fields) {
        if (field.whole.begin <= offset && offset < field.whole.end) {
            return &field;
        }
    }
    return nullptr;
}

// The field that holds the byte at `offset`, or null.
const Field* fieldAt(const ScriptIndex& index, size_t offset) {
    for (const CharacterEntry& character : index.characters) {
        if (offset < character.span.begin || offset >= character.span.end) {
            continue;
        }
        for (const UnitEntry& unit : character.units) {
            if (const Field* found = fieldTouching(unit.fields, offset)) {
                return found;
            }
            for (const FieldList& condition : unit.conditions) {
                if (const Field* found = fieldTouching(condition.fields, offset)) {
                    return found;
                }
            }
        }
    }
    return nullptr;
}

// Where the loader stopped: the field it was reading, or the word or byte
// there; the line when the failure has no place, or when the fault stands
// on a line before the one the loader reports.
Span errorSpan(const std::string& text, const TextPositions& positions, const ScriptIndex& index,
               const tool::ScriptError& error) {
    const size_t offset = error.detail.offset;
    if (offset == 0 || offset > text.size() || tool::faultLine(error) != error.line) {
        return lineSpan(text, positions, tool::faultLine(error) - 1);
    }
    const size_t failed = offset - 1;
    if (const Field* field = fieldAt(index, failed)) {
        return field->whole;
    }
    Span span{failed, offset};
    const auto isWord = [&](size_t at) {
        return std::isalnum(static_cast<unsigned char>(text[at])) != 0 || text[at] == '_';
    };
    while (span.begin > 0 && isWord(span.begin - 1) && isWord(failed)) {
        --span.begin;
    }
    while (span.end < text.size() && isWord(span.end) && isWord(failed)) {
        ++span.end;
    }
    if (text[failed] == '\n' || text[failed] == '\r') {
        return lineSpan(text, positions, positions.lineOf(failed));
    }
    return span;
}

// Warnings about one field of a unit, by their names.
struct WarningField {
    const char* name;
    ScriptField field;
};
constexpr WarningField WARNING_FIELDS[] = {
    {"switch-to-missing-character", ScriptField::Param},
    {"removed-never-set", ScriptField::Param},
    {"answer-never-shown", ScriptField::Answer},
    {"money-param", ScriptField::Param},
};
// Warnings about a variable, which stand on the field that names it: a
// memory action's PARAM or a condition's ID.
constexpr const char* VARIABLE_WARNINGS[] = {
    "variable-never-set", "variable-never-tested", "variable-did-you-mean", "item-tested",
    "long-variable-name", "non-ascii-name",        "variable-names-collide"};

// Warnings about a header value, which stand on the quoted value they name.
constexpr const char* HEADER_VALUE_WARNINGS[] = {"color-out-of-range"};

// The first quoted value in text [from, to) that the warning names, with its
// quotes; the line when there is none.
Span headerValueSpan(const std::string& text, const TextPositions& positions, int32_t line,
                     const tool::Finding& finding) {
    const size_t to = positions.lineEnd(line);
    for (size_t open = text.find('"', positions.lineStart(line)); open < to;) {
        const size_t close = text.find('"', open + 1);
        if (close >= to) {
            break;
        }
        if (finding.text.find(text.substr(open, close + 1 - open)) != std::string::npos) {
            return {open, close + 1};
        }
        open = text.find('"', close + 1);
    }
    return lineSpan(text, positions, line);
}

bool named(const Field* field, const std::string& warning) {
    return field != nullptr && warning.find('"' + field->text + '"') != std::string::npos;
}

// The field of a unit a warning is about; the unit's first line when the
// warning is about the unit as a whole.
Span unitWarningSpan(const std::string& text, const TextPositions& positions, const UnitEntry& unit,
                     const tool::Finding& finding) {
    for (const WarningField& about : WARNING_FIELDS) {
        const Field* field = unit.find(about.field);
        if (finding.name == about.name && field != nullptr) {
            return field->whole;
        }
    }
    for (const char* name : VARIABLE_WARNINGS) {
        if (finding.name != name) {
            continue;
        }
        const Field* action = unit.find(ScriptField::Action);
        const ActionKeyword* keyword =
            action == nullptr ? nullptr : findActionKeyword(action->text.c_str());
        const Field* param = unit.find(ScriptField::Param);
        if (keyword != nullptr &&
            (keyword->action == ACT_ADD_MEM || keyword->action == ACT_SUB_MEM) &&
            named(param, finding.text)) {
            return param->whole;
        }
        for (const FieldList& condition : unit.conditions) {
            if (named(condition.find(ScriptField::Variable), finding.text)) {
                return condition.span;
            }
        }
    }
    Span span = lineSpan(text, positions, positions.lineOf(unit.span.begin));
    span.begin = unit.span.begin;
    return span;
}

// The first unit whose '{' stands in text [from, to): the units of each
// block, and the blocks, stand in the order of the text.
const UnitEntry* unitIn(const ScriptIndex& index, size_t from, size_t to) {
    const auto& characters = index.characters;
    auto character = std::upper_bound(
        characters.begin(), characters.end(), from,
        [](size_t at, const CharacterEntry& entry) { return at < entry.span.begin; });
    if (character != characters.begin()) {
        --character;
    }
    for (; character != characters.end() && character->span.begin < to; ++character) {
        const auto unit = std::lower_bound(
            character->units.begin(), character->units.end(), from,
            [](const UnitEntry& entry, size_t at) { return entry.span.begin < at; });
        if (unit != character->units.end() && unit->span.begin < to) {
            return &*unit;
        }
    }
    return nullptr;
}

// A warning stands on the name of the block or on the unit its line opens.
Span warningSpan(const std::string& text, const TextPositions& positions, const ScriptIndex& index,
                 const tool::Finding& finding) {
    const int32_t line = finding.line - 1;
    const size_t from = positions.lineStart(line);
    const size_t to = positions.lineStart(line + 1);
    const auto& characters = index.characters;
    const auto named = std::lower_bound(
        characters.begin(), characters.end(), from,
        [](const CharacterEntry& entry, size_t at) { return entry.nameSpan.begin < at; });
    if (named != characters.end() && named->nameSpan.begin < to) {
        return named->nameSpan;
    }
    if (const UnitEntry* unit = unitIn(index, from, to)) {
        return unitWarningSpan(text, positions, *unit, finding);
    }
    if (std::find(std::begin(HEADER_VALUE_WARNINGS), std::end(HEADER_VALUE_WARNINGS),
                  finding.name) != std::end(HEADER_VALUE_WARNINGS)) {
        return headerValueSpan(text, positions, line, finding);
    }
    return lineSpan(text, positions, line);
}

// What lint's checks across characters may read of a character: all but
// its questions and answers, and where it stands.
std::string acrossPart(const Character& character, const tool::ScriptPlaces& lines, int32_t c) {
    std::string part = std::string(character.name != nullptr ? character.name : "") + '\0' +
                       std::to_string(lines.characterLine(c));
    for (int32_t u = 0; u < character.unitCount; ++u) {
        const TalkUnit& unit = *character.units[u];
        part += '\0' + std::to_string(lines.unitLine(c, u)) + ' ' + std::to_string(unit.state) +
                ' ' + std::to_string(unit.nextState) + ' ' + std::to_string(unit.action) + ' ' +
                std::to_string(unit.value) + ' ' + (unit.param != nullptr ? unit.param : "");
        for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
            const Condition& condition = unit.conditions[i];
            part += '\0' + std::to_string(condition.op) + ' ' + std::to_string(condition.value) +
                    ' ' + condition.variable;
        }
    }
    return part;
}

// The bytes an editor read as Latin-1, as Vim and Neovim read what is not
// UTF-8, from the UTF-8 it sends; as far as the text holds no other
// characters.
std::string latin1Bytes(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
            bytes += static_cast<char>(((c & 0x03) << 6) | (text[++i] & 0x3F));
        } else {
            break;
        }
    }
    return bytes;
}

// A scrambled file opened in the editor: its bytes, as they stand or as
// Latin-1, descramble to the magic line.
bool scrambledDocument(const std::string& text) {
    return tool::bytesReadScrambled(text) || tool::bytesReadScrambled(latin1Bytes(text));
}

constexpr const char* SCRAMBLED_DOCUMENT =
    "this is a scrambled script, which the editor shows as its bytes: edit the plain script "
    "instead (murmex unscramble FILE FILE.chr.txt gives it back)";

} // namespace

ScriptCheck::ScriptCheck() = default;
ScriptCheck::~ScriptCheck() = default;

void ScriptCheck::readAll(const std::string& text) {
    kept.clear();
    characterFindings.clear();
    errors.clear();
    lines = std::make_unique<tool::ScriptPlaces>();
    tool::LoadedScript loaded = tool::loadScriptText(text, true, lines.get());
    if (!loaded.ok()) {
        errors = tool::findScriptErrors(true, loaded).errors;
        // The document is text: the command line's hint to read it
        // descrambled has no place here.
        if (loaded.code == LOAD_BAD_MAGIC && scrambledDocument(text)) {
            errors.front().message = tool::loadErrorText(false, loaded);
            errors.front().explanation = SCRAMBLED_DOCUMENT;
        }
        engine.reset();
        return;
    }
    engine = std::move(loaded.engine);
    const auto count = static_cast<size_t>(engine->characterCount);
    kept.resize(count);
    characterFindings.resize(count);
    for (int32_t c = 0; c < engine->characterCount; ++c) {
        lintCharacter(c);
    }
    lintAcross();
}

void ScriptCheck::lintCharacter(int32_t c) {
    std::vector<tool::Finding>& findings = characterFindings[static_cast<size_t>(c)];
    findings.clear();
    tool::lintCharacter(*engine, *lines, c, findings);
    tool::sortFindings(findings);
}

void ScriptCheck::moveFindings(int32_t c, int32_t addedLines) {
    std::vector<tool::Finding>& findings = characterFindings[static_cast<size_t>(c)];
    if (std::any_of(findings.begin(), findings.end(),
                    [](const tool::Finding& finding) { return finding.citesLine; })) {
        lintCharacter(c);
        return;
    }
    for (tool::Finding& finding : findings) {
        finding.line += addedLines;
    }
}

void ScriptCheck::lintAcross() {
    acrossFindings.clear();
    tool::lintAcross(*engine, *lines, acrossFindings);
    tool::sortFindings(acrossFindings);
}

bool ScriptCheck::readCharacter(const std::string& text, size_t headerEnd, size_t begin, size_t end,
                                int32_t c, int32_t shift, int32_t addedLines) {
    if (!loads() || c < 0 || c >= engine->characterCount) {
        return false;
    }
    std::string part = text.substr(0, headerEnd);
    part.append(text, begin, end - begin);
    auto partLines = std::make_unique<tool::ScriptPlaces>();
    tool::LoadedScript loaded = tool::loadScriptText(part, true, partLines.get());
    if (!loaded.ok() || loaded.engine->characterCount != 1) {
        return false;
    }
    const std::string before = acrossPart(*engine->characters[c], *lines, c);
    lines->replaceCharacter(c, *partLines, shift, addedLines);
    for (int32_t d = c + 1; addedLines != 0 && d < engine->characterCount; ++d) {
        moveFindings(d, addedLines);
    }
    // The character read before goes, and with it, when it was read alone
    // too, the engine whose pool held its texts.
    std::swap(engine->characters[c], loaded.engine->characters[0]);
    loaded.engine->characters[0].reset();
    kept[static_cast<size_t>(c)] = std::move(loaded.engine);
    lintCharacter(c);
    // Typing into a question or an answer leaves the checks across
    // characters with nothing new to find.
    if (addedLines != 0 || acrossPart(*engine->characters[c], *lines, c) != before) {
        lintAcross();
    }
    return true;
}

bool ScriptCheck::keepErrors(int32_t firstLine, int32_t endLine, size_t oldEnd, ptrdiff_t moved,
                             int32_t addedLines) {
    if (loads()) {
        return false;
    }
    const auto inBlock = [&](int32_t line) { return line - 1 >= firstLine && line - 1 < endLine; };
    for (const tool::ScriptError& error : errors) {
        if (inBlock(error.line) || (error.detail.line != 0 && inBlock(error.detail.line)) ||
            (addedLines != 0 && error.line - 1 >= endLine)) {
            return false;
        }
    }
    // An offset is just past the byte that failed.
    for (tool::ScriptError& error : errors) {
        if (error.detail.offset > oldEnd) {
            error.detail.offset =
                static_cast<uint32_t>(static_cast<ptrdiff_t>(error.detail.offset) + moved);
        }
    }
    return true;
}

std::vector<ScriptDiagnostic> ScriptCheck::diagnostics(const std::string& text,
                                                       const TextPositions& positions,
                                                       const ScriptIndex& index, size_t limit,
                                                       size_t& total) const {
    std::vector<ScriptDiagnostic> diagnostics;
    if (!loads()) {
        total = errors.size();
        for (size_t i = 0; i < errors.size() && i < limit; ++i) {
            const tool::ScriptError& error = errors[i];
            diagnostics.push_back({errorSpan(text, positions, index, error), Severity::Error,
                                   std::to_string(error.code), error.message, error.explanation});
        }
        return diagnostics;
    }
    // Each character's findings are in order, and stand before the next
    // character's: merged with those across characters, all are in order.
    std::vector<const tool::Finding*> own;
    for (const std::vector<tool::Finding>& found : characterFindings) {
        for (const tool::Finding& finding : found) {
            own.push_back(&finding);
        }
    }
    std::vector<const tool::Finding*> acrossOrder;
    for (const tool::Finding& finding : acrossFindings) {
        acrossOrder.push_back(&finding);
    }
    std::vector<const tool::Finding*> findings(own.size() + acrossOrder.size());
    std::merge(
        own.begin(), own.end(), acrossOrder.begin(), acrossOrder.end(), findings.begin(),
        [](const tool::Finding* a, const tool::Finding* b) { return tool::findingBefore(*a, *b); });
    total = findings.size();
    for (size_t i = 0; i < findings.size() && i < limit; ++i) {
        diagnostics.push_back({warningSpan(text, positions, index, *findings[i]), Severity::Warning,
                               findings[i]->name, findings[i]->text, ""});
    }
    return diagnostics;
}

} // namespace murmex::lsp
