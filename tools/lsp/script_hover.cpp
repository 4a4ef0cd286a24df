// Hover texts, worded with the tool's own descriptions of units.
#include "tools/lsp/script_hover.h"

#include "murmex/script_keywords.h"
#include "tools/analysis/unit_text.h"

#include <charconv>

namespace murmex::lsp {

namespace {

int32_t numberOf(const Field* field) {
    int32_t number = 0;
    if (field != nullptr) {
        std::from_chars(field->text.data(), field->text.data() + field->text.size(), number);
    }
    return number;
}

const char* textOf(const Field* field) {
    return field == nullptr ? "" : field->text.c_str();
}

// The unit as the engine's model holds it, pointing into the entry's texts.
TalkUnit modelOf(const UnitEntry& unit) {
    TalkUnit model;
    model.state = numberOf(unit.find(ScriptField::State));
    model.nextState = numberOf(unit.find(ScriptField::Next));
    model.question = textOf(unit.find(ScriptField::Question));
    model.answer = textOf(unit.find(ScriptField::Answer));
    const ActionKeyword* action = findActionKeyword(textOf(unit.find(ScriptField::Action)));
    model.action = action == nullptr ? ACT_NONE : action->action;
    model.param = textOf(unit.find(ScriptField::Param));
    model.value = numberOf(unit.find(ScriptField::UnitValue));
    for (const FieldList& condition : unit.conditions) {
        if (model.conditionCount == MAX_CONDITIONS) {
            break;
        }
        Condition& into = model.conditions[model.conditionCount++];
        into.variable = textOf(condition.find(ScriptField::Variable));
        into.op = findOperatorKeyword(textOf(condition.find(ScriptField::Operator)));
        into.value = numberOf(condition.find(ScriptField::ConditionValue));
    }
    return model;
}

std::string unitInWords(const UnitEntry& unit) {
    const TalkUnit model = modelOf(unit);
    std::string words = "In state " + std::to_string(model.state);
    const std::string conditions = tool::conditionsText(model);
    if (!conditions.empty()) {
        words += ", when " + conditions;
    }
    words += model.question[0] == 0
                 ? ", opens with the answer \"" + tool::shortText(model.answer, 60) + "\""
                 : ", offers \"" + tool::shortText(model.question, 60) + "\"";
    const std::string action = tool::actionText(model);
    if (!action.empty()) {
        words += ", then " + action;
    }
    const std::string effect = tool::effectText(model);
    if (!effect.empty()) {
        words += ", and " + effect;
    }
    return words + ".";
}

const char* useWord(NameUse use) {
    switch (use) {
    case NameUse::Defined:
        return "defined";
    case NameUse::HandedOver:
        return "handed over to by";
    case NameUse::Set:
        return "set by";
    case NameUse::Removed:
        return "removed by";
    case NameUse::Tested:
        return "tested by";
    }
    return "";
}

std::string nameInWords(const ScriptIndex& index, const std::vector<NameOccurrence>& names,
                        const TextPositions& positions, const NameOccurrence& at) {
    std::string words;
    if (at.kind == NameKind::Character) {
        words = "Character **" + at.name + "**";
        for (const NameOccurrence& definition : occurrencesOf(names, at.kind, at.name)) {
            if (definition.use == NameUse::Defined) {
                const size_t count =
                    index.characters[static_cast<size_t>(definition.character)].units.size();
                words += ": " + std::to_string(count) + " talk units";
                break;
            }
        }
    } else {
        words = "Variable **" + at.name + "**";
    }
    for (const NameOccurrence& use : occurrencesOf(names, at.kind, at.name)) {
        if (use.use == NameUse::Defined) {
            continue;
        }
        words += "\n- " + std::string(useWord(use.use)) + " " +
                 index.characters[static_cast<size_t>(use.character)].name + " (line " +
                 std::to_string(positions.lineOf(use.span.begin) + 1) + ")";
    }
    return words;
}

} // namespace

std::string hoverAt(const ScriptIndex& index, const std::vector<NameOccurrence>& names,
                    const TextPositions& positions, size_t offset) {
    const NameOccurrence at = nameAt(names, offset);
    if (at.kind != NameKind::None) {
        return nameInWords(index, names, positions, at);
    }
    for (const CharacterEntry& character : index.characters) {
        for (const UnitEntry& unit : character.units) {
            if (unit.span.begin <= offset && offset < unit.span.end) {
                return unitInWords(unit);
            }
        }
    }
    return "";
}

} // namespace murmex::lsp
