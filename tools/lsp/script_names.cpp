// Collecting the names of characters and variables from a script's outline.
#include "tools/lsp/script_names.h"

#include "murmex/script_keywords.h"

namespace murmex::lsp {

namespace {

void addParam(const UnitEntry& unit, int character, int unitIndex,
              std::vector<NameOccurrence>& into) {
    const Field* action = unit.find(ScriptField::Action);
    const Field* param = unit.find(ScriptField::Param);
    if (action == nullptr || param == nullptr) {
        return;
    }
    const ActionKeyword* keyword = findActionKeyword(action->text.c_str());
    if (keyword == nullptr) {
        return;
    }
    NameOccurrence occurrence{NameKind::Variable, NameUse::Set, param->text,
                              param->value,       character,    unitIndex};
    if (keyword->action == ACT_COMM) {
        occurrence.kind = NameKind::Character;
        occurrence.use = NameUse::HandedOver;
    } else if (keyword->action == ACT_SUB_MEM) {
        occurrence.use = NameUse::Removed;
    } else if (keyword->action != ACT_ADD_MEM) {
        return;
    }
    into.push_back(occurrence);
}

} // namespace

std::vector<NameOccurrence> nameOccurrences(const ScriptIndex& index) {
    std::vector<NameOccurrence> occurrences;
    for (size_t c = 0; c < index.characters.size(); ++c) {
        const CharacterEntry& character = index.characters[c];
        const int ci = static_cast<int>(c);
        occurrences.push_back(
            {NameKind::Character, NameUse::Defined, character.name, character.nameSpan, ci, -1});
        for (size_t u = 0; u < character.units.size(); ++u) {
            const UnitEntry& unit = character.units[u];
            const int ui = static_cast<int>(u);
            addParam(unit, ci, ui, occurrences);
            for (const FieldList& condition : unit.conditions) {
                if (const Field* id = condition.find(ScriptField::Variable)) {
                    occurrences.push_back(
                        {NameKind::Variable, NameUse::Tested, id->text, id->value, ci, ui});
                }
            }
        }
    }
    return occurrences;
}

NameOccurrence nameAt(const std::vector<NameOccurrence>& occurrences, size_t offset) {
    for (const NameOccurrence& occurrence : occurrences) {
        if (occurrence.span.touches(offset)) {
            return occurrence;
        }
    }
    return {};
}

std::vector<NameOccurrence> occurrencesOf(const std::vector<NameOccurrence>& occurrences,
                                          NameKind kind, const std::string& name) {
    std::vector<NameOccurrence> found;
    for (const NameOccurrence& occurrence : occurrences) {
        if (occurrence.kind == kind && occurrence.name == name) {
            found.push_back(occurrence);
        }
    }
    return found;
}

} // namespace murmex::lsp
