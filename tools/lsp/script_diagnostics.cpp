// Loading a document from memory and placing what the load and lint say.
#include "tools/lsp/script_diagnostics.h"

#include "murmex/script_keywords.h"
#include "tools/analysis/script_lint.h"
#include "tools/analysis/script_loading.h"

#include <cctype>
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

// Warnings about one field of a unit, by their names.
struct WarningField {
    const char* name;
    ScriptField field;
};
constexpr WarningField WARNING_FIELDS[] = {
    {"switch-to-missing-character", ScriptField::Param},
    {"removed-never-set", ScriptField::Param},
    {"answer-never-shown", ScriptField::Answer},
};
// Warnings about a variable, which stand on the field that names it: a
// memory action's PARAM or a condition's ID.
constexpr const char* VARIABLE_WARNINGS[] = {"variable-never-set", "long-variable-name",
                                             "non-ascii-name", "variable-names-collide"};

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
        return unitWarningSpan(text, positions, *unit->second, finding);
    }
    return lineSpan(text, positions, line);
}

int32_t lineFeedsIn(const std::string& text, size_t begin, size_t end) {
    int32_t count = 0;
    for (size_t i = begin; i < end; ++i) {
        count += text[i] == '\n' ? 1 : 0;
    }
    return count;
}

} // namespace

ScriptCheck::ScriptCheck() = default;
ScriptCheck::~ScriptCheck() = default;

void ScriptCheck::readAll(const std::string& text) {
    kept.clear();
    characterFindings.clear();
    errors.clear();
    lines = std::make_unique<ScriptLines>();
    tool::LoadedScript loaded = tool::loadScriptText(text, true, lines.get());
    if (!loaded.ok()) {
        tool::ScriptError first;
        first.code = loaded.code;
        first.line = loaded.engine->line;
        first.message = tool::loadErrorText(true, loaded);
        first.detail = loaded.detail;
        errors = tool::findScriptErrorsIn(text, first).errors;
        engine.reset();
        return;
    }
    engine = std::move(loaded.engine);
    engine->scriptLines = nullptr;
    const auto count = static_cast<size_t>(engine->characterCount);
    kept.resize(count);
    characterFindings.resize(count);
    for (int32_t c = 0; c < engine->characterCount; ++c) {
        tool::lintCharacter(*engine, *lines, c, characterFindings[static_cast<size_t>(c)]);
    }
}

bool ScriptCheck::readCharacter(const std::string& text, size_t headerEnd, size_t begin, size_t end,
                                int32_t c, int32_t firstLine, int32_t addedLines) {
    if (!loads() || c < 0 || c >= engine->characterCount) {
        return false;
    }
    std::string part = text.substr(0, headerEnd);
    part.append(text, begin, end - begin);
    auto partLines = std::make_unique<ScriptLines>();
    tool::LoadedScript loaded = tool::loadScriptText(part, true, partLines.get());
    if (!loaded.ok() || loaded.engine->characterCount != 1) {
        return false;
    }
    // The part's lines after the header stand `shift` lines further down in
    // the whole text.
    const int32_t shift = firstLine - 1 - lineFeedsIn(text, 0, headerEnd);
    const Character& character = *loaded.engine->characters[0];
    lines->characterLines[c] = partLines->characterLines[0] + shift;
    for (int32_t u = 0; u < character.unitCount; ++u) {
        lines->unitLines[c][u] = partLines->unitLines[0][u] + shift;
    }
    for (int32_t d = c + 1; addedLines != 0 && d < engine->characterCount; ++d) {
        lines->characterLines[d] += addedLines;
        for (int32_t u = 0; u < engine->characters[d]->unitCount; ++u) {
            lines->unitLines[d][u] += addedLines;
        }
        for (tool::Finding& finding : characterFindings[static_cast<size_t>(d)]) {
            finding.line += addedLines;
        }
    }
    // The character read before goes, and with it, when it was read alone
    // too, the engine whose pool held its texts.
    std::swap(engine->characters[c], loaded.engine->characters[0]);
    loaded.engine->characters[0].reset();
    loaded.engine->scriptLines = nullptr;
    kept[static_cast<size_t>(c)] = std::move(loaded.engine);
    std::vector<tool::Finding>& findings = characterFindings[static_cast<size_t>(c)];
    findings.clear();
    tool::lintCharacter(*engine, *lines, c, findings);
    return true;
}

std::vector<ScriptDiagnostic> ScriptCheck::diagnostics(const std::string& text,
                                                       const TextPositions& positions,
                                                       const ScriptIndex& index) const {
    std::vector<ScriptDiagnostic> diagnostics;
    if (!loads()) {
        for (const tool::ScriptError& error : errors) {
            diagnostics.push_back({errorSpan(text, positions, index, error), Severity::Error,
                                   std::to_string(error.code), error.message, error.explanation});
        }
        return diagnostics;
    }
    std::vector<tool::Finding> findings;
    for (const std::vector<tool::Finding>& found : characterFindings) {
        findings.insert(findings.end(), found.begin(), found.end());
    }
    tool::lintAcross(*engine, *lines, findings);
    tool::sortFindings(findings);
    const LinePlaces places(index, positions);
    diagnostics.reserve(findings.size());
    for (const tool::Finding& finding : findings) {
        diagnostics.push_back({warningSpan(text, positions, places, finding), Severity::Warning,
                               finding.name, finding.text, ""});
    }
    return diagnostics;
}

} // namespace murmex::lsp
