// Which entry of a translation goes with each text of the script. Ids name a
// text by its place among its character's units of a state, so a unit
// inserted or moved gives the texts after it new ids; a translation still
// follows its text there: an entry goes first with the text of its id when
// it translates that text, then with a text of the same character and kind
// that says exactly what it translates (the text moved), and last with the
// text of its id whatever that says now (the text changed).
#pragma once

#include "tools/authoring/script_texts.h"
#include "tools/authoring/translation_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace murmex::tool {

struct TranslationAlignment {
    // For each text, the index of its entry, or -1 where no entry goes with it.
    std::vector<int32_t> entryOfText;
    // Entries no text took, in the file's order, repeated ids left out.
    std::vector<size_t> unmatched;
    // Entries whose id an earlier entry has already: no text takes them.
    std::vector<size_t> repeated;
};

TranslationAlignment alignTranslation(const std::vector<ScriptText>& texts,
                                      const std::vector<TranslationEntry>& entries);

} // namespace murmex::tool
