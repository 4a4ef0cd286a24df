// The features' answers turned into the protocol's JSON.
#include "tools/lsp/feature_replies.h"

#include "tools/lsp/rename_check.h"
#include "tools/lsp/script_completion.h"
#include "tools/lsp/script_hover.h"

#include <algorithm>

namespace murmex::lsp {

namespace {

using nlohmann::json;

// Symbol and completion kinds as the protocol numbers them.
constexpr int SYMBOL_CLASS = 5;
constexpr int SYMBOL_METHOD = 6;
constexpr int COMPLETION_KINDS[] = {14, 3, 24, 7, 6}; // by CompletionKind
// Bytes of a question or answer shown beside a unit's symbol.
constexpr size_t DETAIL_WIDTH = 60;

json positionOf(const OpenDocument& document, size_t offset) {
    const Position position = document.positions.at(offset);
    return {{"line", position.line}, {"character", position.character}};
}

json locationOf(const OpenDocument& document, const Span& span) {
    return {{"uri", document.uri}, {"range", rangeOf(document, span)}};
}

std::string cut(const std::string& text) {
    return text.size() > DETAIL_WIDTH ? text.substr(0, DETAIL_WIDTH) + "..." : text;
}

json unitSymbol(const OpenDocument& document, const UnitEntry& unit) {
    const Field* state = unit.find(ScriptField::State);
    const Field* next = unit.find(ScriptField::Next);
    const Field* question = unit.find(ScriptField::Question);
    const Field* answer = unit.find(ScriptField::Answer);
    const std::string name =
        (state != nullptr ? state->text : "?") + " \u2192 " + (next != nullptr ? next->text : "?");
    std::string detail;
    if (question != nullptr && !question->text.empty()) {
        detail = cut(question->text);
    } else if (answer != nullptr) {
        detail = "opening answer: " + cut(answer->text);
    }
    return {{"name", name},
            {"detail", detail},
            {"kind", SYMBOL_METHOD},
            {"range", rangeOf(document, unit.span)},
            {"selectionRange", rangeOf(document, {unit.span.begin, unit.span.begin + 1})}};
}

const NameOccurrence* definitionOf(const OpenDocument& document, const NameOccurrence& at) {
    for (const NameOccurrence& name : document.names()) {
        if (name.kind == NameKind::Character && name.use == NameUse::Defined &&
            name.name == at.name) {
            return &name;
        }
    }
    return nullptr;
}

std::string renamedText(const OpenDocument& document, const std::vector<NameOccurrence>& places,
                        const std::string& newName) {
    std::string text;
    size_t from = 0;
    for (const NameOccurrence& place : places) {
        text.append(document.text, from, place.span.begin - from);
        text += newName;
        from = place.span.end;
    }
    text.append(document.text, from, std::string::npos);
    return text;
}

} // namespace

json rangeOf(const OpenDocument& document, const Span& span) {
    return {{"start", positionOf(document, span.begin)}, {"end", positionOf(document, span.end)}};
}

json documentSymbols(const OpenDocument& document) {
    json symbols = json::array();
    for (const CharacterEntry& character : document.index.characters) {
        json units = json::array();
        for (const UnitEntry& unit : character.units) {
            units.push_back(unitSymbol(document, unit));
        }
        symbols.push_back({{"name", character.name.empty() ? "(unnamed)" : character.name},
                           {"detail", std::to_string(character.units.size()) + " units"},
                           {"kind", SYMBOL_CLASS},
                           {"range", rangeOf(document, character.span)},
                           {"selectionRange", rangeOf(document, character.nameSpan)},
                           {"children", units}});
    }
    return symbols;
}

json definitionAt(const OpenDocument& document, size_t offset) {
    const NameOccurrence at = nameAt(document.names(), offset);
    if (at.kind == NameKind::Character) {
        const NameOccurrence* definition = definitionOf(document, at);
        if (definition == nullptr) {
            return nullptr;
        }
        const auto& block = document.index.characters[static_cast<size_t>(definition->character)];
        return locationOf(document, block.span);
    }
    json setters = json::array();
    for (const NameOccurrence& use : occurrencesOf(document.names(), at.kind, at.name)) {
        if (at.kind == NameKind::Variable && use.use == NameUse::Set) {
            const auto& character = document.index.characters[static_cast<size_t>(use.character)];
            setters.push_back(
                locationOf(document, character.units[static_cast<size_t>(use.unit)].span));
        }
    }
    return setters.empty() ? json(nullptr) : setters;
}

json referencesAt(const OpenDocument& document, size_t offset, bool withDefinition) {
    const NameOccurrence at = nameAt(document.names(), offset);
    json locations = json::array();
    if (at.kind == NameKind::None) {
        return locations;
    }
    for (const NameOccurrence& use : occurrencesOf(document.names(), at.kind, at.name)) {
        if (withDefinition || use.use != NameUse::Defined) {
            locations.push_back(locationOf(document, use.span));
        }
    }
    return locations;
}

json hoverReply(const OpenDocument& document, size_t offset) {
    const std::string text = hoverAt(document.index, document.names(), document.positions, offset);
    if (text.empty()) {
        return nullptr;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
}

json completionAt(const OpenDocument& document, size_t offset) {
    json items = json::array();
    // Keywords come in the order a unit takes them, not alphabetically.
    size_t order = 0;
    for (const Completion& completion : completeAt(document.index, document.names(), offset)) {
        const std::string number = std::to_string(order++);
        items.push_back(
            {{"label", completion.label},
             {"kind", COMPLETION_KINDS[static_cast<int>(completion.kind)]},
             {"sortText", std::string(6 - std::min<size_t>(number.size(), 6), '0') + number}});
    }
    return items;
}

json renameAt(const OpenDocument& document, size_t offset, const std::string& newName,
              RefusedRename& refused) {
    const NameOccurrence at = nameAt(document.names(), offset);
    if (at.kind == NameKind::None) {
        return nullptr;
    }
    const std::vector<NameOccurrence> places = occurrencesOf(document.names(), at.kind, at.name);
    refused.what = renameProblem(document, at, newName, renamedText(document, places, newName));
    if (!refused.what.empty()) {
        return nullptr;
    }
    json edits = json::array();
    for (const NameOccurrence& place : places) {
        edits.push_back({{"range", rangeOf(document, place.span)}, {"newText", newName}});
    }
    return {{"changes", {{document.uri, edits}}}};
}

} // namespace murmex::lsp
