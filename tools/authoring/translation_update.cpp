// Carrying a translator's work over to a new export of the same script.
#include "tools/authoring/translation_update.h"

#include "tools/authoring/translation_alignment.h"

namespace murmex::tool {

CarriedTranslations carryTranslations(const TranslationDocument& previous,
                                      const std::vector<ScriptText>& texts,
                                      TranslationUpdateCounts& counts) {
    counts = {};
    const TranslationAlignment alignment = alignTranslation(texts, previous.entries);
    CarriedTranslations carried;
    carried.previous = &previous;
    for (size_t t = 0; t < texts.size(); ++t) {
        const ScriptText& text = texts[t];
        const int32_t e = alignment.entryOfText[t];
        TranslationEntry entry =
            e < 0 ? TranslationEntry{} : previous.entries[static_cast<size_t>(e)];
        bool changed = false;
        if (entry.translation.empty()) {
            // Nothing to keep but the translator's comments.
            entry.fuzzy = false;
            entry.previousSource.clear();
        } else if (entry.source != text.text) {
            // Where it was fuzzy already, the text its translation was made
            // for is the earlier one.
            if (!entry.fuzzy || entry.previousSource.empty()) {
                entry.previousSource = entry.source;
            }
            entry.fuzzy = true;
            changed = true;
        }
        const bool moved = e >= 0 && entry.id != text.id;
        entry.id = text.id;
        entry.source = text.text;
        ++(entry.translation.empty() ? counts.untranslated
           : changed                 ? counts.changed
           : moved                   ? counts.moved
                                     : counts.kept);
        carried.forTexts.push_back(std::move(entry));
    }
    for (const size_t e : alignment.unmatched) {
        if (!previous.entries[e].translation.empty()) {
            carried.gone.push_back(previous.entries[e]);
        }
    }
    counts.gone = carried.gone.size();
    return carried;
}

std::string describeUpdate(size_t texts, const TranslationUpdateCounts& counts) {
    return std::to_string(texts) + " texts: " + std::to_string(counts.kept) + " kept, " +
           std::to_string(counts.moved) + " moved, " + std::to_string(counts.changed) +
           " changed (marked fuzzy), " + std::to_string(counts.untranslated) + " untranslated, " +
           std::to_string(counts.gone) + " now obsolete";
}

} // namespace murmex::tool
