// Translation files for a script's texts: gettext PO for translators'
// editors, and CSV for spreadsheets (voice recording, review). Both are
// UTF-8 and carry each text's id, its source text and its translation.
#pragma once

#include "tools/authoring/script_texts.h"

#include <string>
#include <vector>

namespace murmex::tool {

enum class TranslationFormat { Po, Csv };

// One text as a translation file gives it.
struct TranslationEntry {
    std::string id;
    std::string source;
    std::string translation;
    // Marked fuzzy: a guess that a translator has yet to confirm.
    bool fuzzy = false;
    // Line of the file where the entry starts.
    int32_t line = 0;
};

// The texts as a PO file: a header, then one entry per text with its notes,
// its SCRIPT:LINE reference, the id as msgctxt and an empty msgstr. The
// header names the target language when one is given ("de", "pt_BR").
std::string writePo(const std::vector<ScriptText>& texts, const std::string& scriptName,
                    const std::string& title, const std::string& language);

// The texts as CSV: id, character, kind, source, translation (empty), notes.
std::string writeCsv(const std::vector<ScriptText>& texts, const std::string& scriptName);

// Reads a PO or CSV file's entries (the PO header left out). False, with
// `error` naming the line, for a file that is not well formed, is not
// UTF-8, or uses what a script has no use for (plural forms).
bool readTranslation(const std::string& bytes, TranslationFormat format,
                     std::vector<TranslationEntry>& entries, std::string& error);

// The format a file name's extension names: ".csv" is CSV, all else PO.
TranslationFormat formatOfName(const std::string& name);

} // namespace murmex::tool
