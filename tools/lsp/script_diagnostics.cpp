// Loading a document from memory and placing what the load and lint say.
#include "tools/lsp/script_diagnostics.h"

#include "murmex/script_lines.h"
#include "tools/analysis/script_lint.h"
#include "tools/lsp/text_positions.h"
#include "tools/script_io/script_errors.h"
#include "tools/script_io/script_loading.h"

#include <cctype>
#include <memory>
#include <unordered_map>

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
// there; the line when the failure has no place.
Span errorSpan(const std::string& text, const TextPositions& positions, const ScriptIndex& index,
               const tool::ScriptError& error) {
    const size_t offset = error.detail.offset;
    if (offset == 0 || offset > text.size()) {
        return lineSpan(text, positions, error.line - 1);
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

// The field of a unit whose quoted value a warning names, in the order a
// warning is most likely about; the unit's first line when none is named.
Span unitWarningSpan(const std::string& text, const TextPositions& positions, const UnitEntry& unit,
                     const std::string& warning) {
    for (const char* keyword : {"PARAM", "N", "S"}) {
        const Field* field = unit.field(keyword);
        if (field != nullptr && warning.find('"' + field->text + '"') != std::string::npos) {
            return field->whole;
        }
    }
    for (const FieldList& condition : unit.conditions) {
        const Field* id = condition.find("ID");
        if (id != nullptr && warning.find('"' + id->text + '"') != std::string::npos) {
            return condition.span;
        }
    }
    Span span = lineSpan(text, positions, positions.lineOf(unit.span.begin));
    span.begin = unit.span.begin;
    return span;
}

// The character name or unit that opens each line, so that each warning
// finds its place at once, however many there are.
struct LinePlaces {
    std::unordered_map<int32_t, const CharacterEntry*> names;
    std::unordered_map<int32_t, const UnitEntry*> units;

    LinePlaces(const ScriptIndex& index, const TextPositions& positions) {
        for (const CharacterEntry& character : index.characters) {
            names.emplace(positions.lineOf(character.nameSpan.begin), &character);
            for (const UnitEntry& unit : character.units) {
                units.emplace(positions.lineOf(unit.span.begin), &unit);
            }
        }
    }
};

Span warningSpan(const std::string& text, const TextPositions& positions, const LinePlaces& places,
                 const tool::Finding& finding) {
    const int32_t line = finding.line - 1;
    if (const auto name = places.names.find(line); name != places.names.end()) {
        return name->second->nameSpan;
    }
    if (const auto unit = places.units.find(line); unit != places.units.end()) {
        return unitWarningSpan(text, positions, *unit->second, finding.text);
    }
    return lineSpan(text, positions, line);
}

std::vector<ScriptDiagnostic> loadErrors(const std::string& text, const ScriptIndex& index,
                                         const tool::LoadedScript& loaded) {
    tool::ScriptError first;
    first.code = loaded.code;
    first.line = loaded.engine->line;
    first.message = tool::loadErrorText(true, loaded);
    first.detail = loaded.detail;
    const TextPositions positions(text);
    std::vector<ScriptDiagnostic> diagnostics;
    for (const tool::ScriptError& error : tool::findScriptErrorsIn(text, first).errors) {
        diagnostics.push_back({errorSpan(text, positions, index, error), Severity::Error,
                               std::to_string(error.code), error.message, error.explanation});
    }
    return diagnostics;
}

std::vector<ScriptDiagnostic> lintWarnings(const std::string& text, const ScriptIndex& index,
                                           const tool::LoadedScript& loaded,
                                           const ScriptLines& lines) {
    std::vector<tool::Finding> findings = tool::lintScript(*loaded.engine, lines);
    tool::sortFindings(findings);
    const TextPositions positions(text);
    const LinePlaces places(index, positions);
    std::vector<ScriptDiagnostic> diagnostics;
    for (const tool::Finding& finding : findings) {
        diagnostics.push_back({warningSpan(text, positions, places, finding), Severity::Warning,
                               finding.name, finding.text, ""});
    }
    return diagnostics;
}

} // namespace

std::vector<ScriptDiagnostic> diagnoseScript(const std::string& text, const ScriptIndex& index) {
    const auto lines = std::make_unique<ScriptLines>();
    const tool::LoadedScript loaded = tool::loadScriptText(text, true, lines.get());
    return loaded.ok() ? lintWarnings(text, index, loaded, *lines)
                       : loadErrors(text, index, loaded);
}

} // namespace murmex::lsp
