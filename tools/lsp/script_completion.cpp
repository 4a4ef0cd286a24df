// Completion by the field the cursor stands in, or the unit around it.
#include "tools/lsp/script_completion.h"

#include "murmex/script_keywords.h"
#include "tools/analysis/field_keywords.h"

#include <set>

namespace murmex::lsp {

namespace {

bool inside(const Span& span, size_t offset) {
    return span.begin < offset && offset < span.end;
}

std::vector<Completion> namesOf(const std::vector<NameOccurrence>& names, NameKind kind) {
    std::set<std::string> seen;
    std::vector<Completion> found;
    for (const NameOccurrence& name : names) {
        if (name.kind == kind && !name.name.empty() && seen.insert(name.name).second) {
            found.push_back({name.name, kind == NameKind::Character ? CompletionKind::Character
                                                                    : CompletionKind::Variable});
        }
    }
    return found;
}

std::vector<Completion> actions() {
    std::vector<Completion> found;
    for (const ActionKeyword& action : ACTION_KEYWORDS) {
        found.push_back({action.keyword, CompletionKind::Action});
    }
    return found;
}

std::vector<Completion> operators() {
    std::vector<Completion> found;
    for (const OperatorKeyword& op : OPERATOR_KEYWORDS) {
        found.push_back({op.keyword, CompletionKind::Operator});
    }
    return found;
}

// The keywords from the one after the last field written before the cursor.
template <size_t N>
std::vector<Completion> keywordsAfter(const std::vector<Field>& fields, size_t offset,
                                      const std::string_view (&order)[N]) {
    size_t written = 0;
    while (written < fields.size() && fields[written].whole.end <= offset) {
        ++written;
    }
    std::vector<Completion> found;
    for (size_t i = written; i < N; ++i) {
        found.push_back({std::string(order[i]), CompletionKind::Keyword});
    }
    return found;
}

std::vector<Completion> inValue(const UnitEntry& unit, const Field& field,
                                const std::vector<NameOccurrence>& names) {
    if (&field == unit.field("ACT")) {
        return actions();
    }
    if (&field == unit.field("PARAM")) {
        const Field* action = unit.field("ACT");
        const ActionKeyword* keyword =
            action == nullptr ? nullptr : findActionKeyword(action->text.c_str());
        if (keyword != nullptr && keyword->action == ACT_COMM) {
            return namesOf(names, NameKind::Character);
        }
        if (keyword != nullptr &&
            (keyword->action == ACT_ADD_MEM || keyword->action == ACT_SUB_MEM)) {
            return namesOf(names, NameKind::Variable);
        }
    }
    return {};
}

std::vector<Completion> inCondition(const FieldList& condition, size_t offset,
                                    const std::vector<NameOccurrence>& names) {
    for (const Field& field : condition.fields) {
        if (field.value.touches(offset)) {
            if (&field == condition.find("ID")) {
                return namesOf(names, NameKind::Variable);
            }
            return &field == condition.find("OP") ? operators() : std::vector<Completion>{};
        }
    }
    return keywordsAfter(condition.fields, offset, tool::CONDITION_FIELD_KEYWORDS);
}

std::vector<Completion> inUnit(const UnitEntry& unit, size_t offset,
                               const std::vector<NameOccurrence>& names) {
    for (const FieldList& condition : unit.conditions) {
        if (inside(condition.span, offset)) {
            return inCondition(condition, offset, names);
        }
    }
    for (const Field& field : unit.fields) {
        if (field.value.touches(offset)) {
            return inValue(unit, field, names);
        }
    }
    if (!unit.conditions.empty() && unit.conditions.front().span.begin < offset) {
        return {};
    }
    return keywordsAfter(unit.fields, offset, tool::UNIT_FIELD_KEYWORDS);
}

} // namespace

std::vector<Completion> completeAt(const ScriptIndex& index,
                                   const std::vector<NameOccurrence>& names, size_t offset) {
    for (const CharacterEntry& character : index.characters) {
        if (!inside(character.span, offset)) {
            continue;
        }
        for (const UnitEntry& unit : character.units) {
            if (inside(unit.span, offset)) {
                return inUnit(unit, offset, names);
            }
        }
    }
    return {};
}

} // namespace murmex::lsp
