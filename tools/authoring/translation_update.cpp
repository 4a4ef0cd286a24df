// Carrying a translator's work over to a new export of the same script.
#include "tools/authoring/translation_update.h"

#include <map>

namespace murmex::tool {

CarriedTranslations carryTranslations(const TranslationDocument& previous,
                                      const std::vector<ScriptText>& texts,
                                      TranslationUpdateCounts& counts) {
    counts = {};
    std::map<std::string, size_t> byId;
    for (size_t i = 0; i < previous.entries.size(); ++i) {
        byId.emplace(previous.entries[i].id, i);
    }
    CarriedTranslations carried;
    carried.previous = &previous;
    std::vector<bool> taken(previous.entries.size(), false);
    for (const ScriptText& text : texts) {
        TranslationEntry entry;
        bool changed = false;
        if (const auto found = byId.find(text.id); found != byId.end()) {
            taken[found->second] = true;
            entry = previous.entries[found->second];
            if (entry.translation.empty()) {
                // Nothing to keep but the translator's comments.
                entry.fuzzy = false;
                entry.previousSource.clear();
            } else if (entry.source != text.text) {
                // Where it was fuzzy already, the text its translation was
                // made for is the earlier one.
                if (!entry.fuzzy || entry.previousSource.empty()) {
                    entry.previousSource = entry.source;
                }
                entry.fuzzy = true;
                changed = true;
            }
        }
        entry.id = text.id;
        entry.source = text.text;
        ++(entry.translation.empty() ? counts.untranslated
           : changed                 ? counts.changed
                                     : counts.kept);
        carried.forTexts.push_back(std::move(entry));
    }
    for (size_t i = 0; i < previous.entries.size(); ++i) {
        if (!taken[i] && !previous.entries[i].translation.empty()) {
            carried.gone.push_back(previous.entries[i]);
        }
    }
    counts.gone = carried.gone.size();
    return carried;
}

std::string describeUpdate(size_t texts, const TranslationUpdateCounts& counts) {
    return std::to_string(texts) + " texts: " + std::to_string(counts.kept) + " kept, " +
           std::to_string(counts.changed) + " changed (marked fuzzy), " +
           std::to_string(counts.untranslated) + " untranslated, " + std::to_string(counts.gone) +
           " now obsolete";
}

} // namespace murmex::tool
