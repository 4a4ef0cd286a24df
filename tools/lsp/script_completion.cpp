// Completion by the field the cursor stands in, or the unit around it.
#include "tools/lsp/script_completion.h"

#include "murmex/script_keywords.h"
#include "murmex/script_syntax.h"

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

// The keywords of the fields `first` to `last` from the one after the last
// field written before the cursor, in the order the loader reads them.
std::vector<Completion> keywordsAfter(const std::vector<Field>& fields, size_t offset,
                                      ScriptField first, ScriptField last) {
    auto next = static_cast<size_t>(first);
    for (const Field& field : fields) {
        if (field.whole.end <= offset) {
            next = static_cast<size_t>(field.field) + 1;
        }
    }
    std::vector<Completion> found;
    for (size_t i = next; i <= static_cast<size_t>(last); ++i) {
        found.push_back({SCRIPT_FIELDS[i].keyword, CompletionKind::Keyword});
    }
    return found;
}

std::vector<Completion> inValue(const UnitEntry& unit, const Field& field,
                                const std::vector<NameOccurrence>& names) {
    if (field.field == ScriptField::Action) {
        return actions();
    }
    if (field.field == ScriptField::Param) {
        const Field* action = unit.find(ScriptField::Action);
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
            if (field.field == ScriptField::Variable) {
                return namesOf(names, NameKind::Variable);
            }
            return field.field == ScriptField::Operator ? operators() : std::vector<Completion>{};
        }
    }
    return keywordsAfter(condition.fields, offset, ScriptField::Variable,
                         ScriptField::ConditionValue);
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
    return keywordsAfter(unit.fields, offset, ScriptField::State, ScriptField::UnitValue);
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
