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
    // The source text the translation was made for, where it has changed
    // since (PO's "#| msgid", CSV's previous column); empty otherwise.
    std::string previousSource;
    // The translator's own comment lines ("# ..."), as written.
    std::vector<std::string> comments;
};

// A translation file as a whole: what an update of it must keep besides
// the entries themselves.
struct TranslationDocument {
    std::vector<TranslationEntry> entries;
    // PO: the header entry's text and the comment lines above it.
    std::string header;
    std::vector<std::string> headerComments;
    // Entries of texts the script no longer has. PO keeps their lines as
    // written (a blank string between two entries), CSV its rows.
    std::vector<std::string> obsoleteLines;
    std::vector<TranslationEntry> obsoleteEntries;
};

// The translator's work an existing file carries into a new export of the
// same script: for each text, in the texts' order, its entry (an empty
// translation for a text the file did not have), and the entries no text
// has any more. `previous` gives the header and what is already obsolete.
struct CarriedTranslations {
    const TranslationDocument* previous = nullptr;
    std::vector<TranslationEntry> forTexts;
    std::vector<TranslationEntry> gone;
};

// The texts as a PO file: a header, then one entry per text with its notes,
// its SCRIPT:LINE reference, the id as msgctxt and an empty msgstr. The
// header names the target language when one is given ("de", "pt_BR").
// With `carried`, the header is the previous file's, each entry carries its
// translation, marks and comments, and the gone entries follow as obsolete
// (#~), then those the previous file had already.
std::string writePo(const std::vector<ScriptText>& texts, const std::string& scriptName,
                    const std::string& title, const std::string& language,
                    const CarriedTranslations* carried = nullptr);

// The texts as CSV: id, character, kind, source, translation (empty), notes,
// status and previous (both empty). With `carried`, each row carries its
// translation, its status ("fuzzy" with the previous source where the text
// changed) and the gone rows follow with the status "obsolete".
std::string writeCsv(const std::vector<ScriptText>& texts, const std::string& scriptName,
                     const CarriedTranslations* carried = nullptr);

// The voice-over script as CSV: id, character, text, the question that
// leads to the text (empty for a question and for an opening answer) and
// notes, a row for each question and answer a player can be shown (the
// title is no one's line). The ids are the ones a game gives the same lines.
std::string writeVoiceScript(const std::vector<ScriptText>& texts, const ScriptModel& script,
                             const std::string& scriptName);

// Reads a PO or CSV file's entries (the PO header left out). False, with
// `error` naming the line, for a file that is not well formed, is not
// UTF-8, or uses what a script has no use for (plural forms).
bool readTranslation(const std::string& bytes, TranslationFormat format,
                     std::vector<TranslationEntry>& entries, std::string& error);
// The same, keeping the header, the comments and the obsolete entries.
bool readTranslationDocument(const std::string& bytes, TranslationFormat format,
                             TranslationDocument& document, std::string& error);

// The format a file name's extension names: ".csv" is CSV, all else PO.
TranslationFormat formatOfName(const std::string& name);

} // namespace murmex::tool
