// Bringing a translation file up to date with the script it translates, so
// that exporting again never loses a translator's work: each text keeps the
// translation its id had, a text that changed keeps it marked fuzzy with the
// text it was made for, and a text the script no longer has keeps it as an
// obsolete entry.
#pragma once

#include "tools/authoring/script_texts.h"
#include "tools/authoring/translation_file.h"

#include <cstddef>
#include <string>
#include <vector>

namespace murmex::tool {

// How an update went, in counts of texts.
struct TranslationUpdateCounts {
    // Translated, and the text is as it was (a fuzzy mark stays as it was).
    size_t kept = 0;
    // Translated, and found under the text's new id: units were inserted or
    // moved before it.
    size_t moved = 0;
    // Translated, but the text has changed since: now marked fuzzy.
    size_t changed = 0;
    // Not in the file before, or not translated there.
    size_t untranslated = 0;
    // Translated in the file, and gone from the script: now obsolete.
    size_t gone = 0;
};

// What the texts carry over from `previous`, aligned as import aligns them.
CarriedTranslations carryTranslations(const TranslationDocument& previous,
                                      const std::vector<ScriptText>& texts,
                                      TranslationUpdateCounts& counts);

// "55 texts: 52 kept, 1 moved, 1 changed (marked fuzzy), 1 untranslated, 1 now
// obsolete".
std::string describeUpdate(size_t texts, const TranslationUpdateCounts& counts);

} // namespace murmex::tool
