// The table of the page's texts, and the labels file over it.
#include "tools/authoring/page_labels.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <iterator>

namespace murmex::tool {

namespace {

// By primary language subtag; English first, as the default.
constexpr const char* LANGUAGES[] = {"en", "de", "fr", "pl"};
constexpr size_t LANGUAGE_COUNT = std::size(LANGUAGES);

struct LabelRow {
    const char* id;
    // In the order of LANGUAGES; null where a language has no text yet.
    const char* texts[LANGUAGE_COUNT];
};

// French puts a no-break space before a colon.
constexpr LabelRow LABELS[] = {
    {"restart", {"Restart", "Neu starten", "Recommencer", "Zacznij od nowa"}},
    {"save",
     {"Save to file", "In Datei speichern", "Enregistrer dans un fichier", "Zapisz do pliku"}},
    {"load", {"Load from file", "Aus Datei laden", "Charger depuis un fichier", "Wczytaj z pliku"}},
    {"questions", {"Questions", "Fragen", "Questions", "Pytania"}},
    // Followed by the engine's reason.
    {"storedGameRefused",
     {"Your saved game can't be continued in this version of the game:",
      "Der gespeicherte Spielstand lässt sich in dieser Version des Spiels nicht fortsetzen:",
      "La partie enregistrée ne peut pas être poursuivie dans cette version du jeu\u00a0:",
      "Zapisanej gry nie da się kontynuować w tej wersji gry:"}},
    {"downloadOldSave",
     {"Download the old save", "Alten Spielstand herunterladen",
      "Télécharger l’ancienne sauvegarde", "Pobierz stary zapis"}},
    {"startAfresh",
     {"Start afresh", "Neues Spiel beginnen", "Commencer une nouvelle partie", "Zacznij nową grę"}},
    {"notThisGame",
     {"This saved game does not belong to this game.",
      "Dieser Spielstand gehört nicht zu diesem Spiel.",
      "Cette sauvegarde n’appartient pas à ce jeu.", "Ten zapis nie pochodzi z tej gry."}},
};

size_t languageColumn(const std::string& tag, bool& known) {
    std::string primary = tag.substr(0, tag.find('-'));
    std::transform(primary.begin(), primary.end(), primary.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    const auto found = std::find(std::begin(LANGUAGES), std::end(LANGUAGES), primary);
    known = found != std::end(LANGUAGES);
    return known ? static_cast<size_t>(found - std::begin(LANGUAGES)) : 0;
}

std::string labelIds() {
    std::string ids;
    for (const LabelRow& row : LABELS) {
        ids += (ids.empty() ? "" : ", ") + std::string(row.id);
    }
    return ids;
}

} // namespace

PageLabels pageLabels(const std::string& language, bool& known) {
    const size_t column = languageColumn(language, known);
    PageLabels labels;
    for (const LabelRow& row : LABELS) {
        labels[row.id] = row.texts[column] != nullptr ? row.texts[column] : row.texts[0];
    }
    return labels;
}

bool overridePageLabels(const std::string& json, PageLabels& labels, std::string& error) {
    const nlohmann::json object = nlohmann::json::parse(json, nullptr, false);
    if (!object.is_object()) {
        error = std::string(object.is_discarded() ? "not JSON" : "not a JSON object") +
                ": the labels file holds the page's texts by id, such as {\"restart\": \"Again\"}";
        return false;
    }
    PageLabels given = labels;
    for (const auto& [id, text] : object.items()) {
        const auto label = given.find(id);
        if (label == given.end()) {
            error = "the page has no label \"" + id + "\"; its labels are " + labelIds();
            return false;
        }
        if (!text.is_string()) {
            error = "the label \"" + id + "\" is a " + text.type_name() + ", not a text";
            return false;
        }
        label->second = text.get<std::string>();
    }
    labels = std::move(given);
    return true;
}

} // namespace murmex::tool
