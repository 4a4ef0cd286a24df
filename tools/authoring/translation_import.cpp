// Building a translated script. Translations take the place of the texts
// byte for byte, and the result is kept only when it loads and differs from
// the script in those texts alone.
#include "tools/authoring/translation_import.h"

#include "murmex/load_script.h"
#include "text/display_text.h"
#include "tools/analysis/text_cut_off.h"
#include "tools/authoring/translation_alignment.h"
#include "tools/script_io/script_input.h"

#include <algorithm>
#include <cstdio>

namespace murmex::tool {

namespace {

std::string where(const std::string& file, const TranslationEntry& entry) {
    return file + ":" + std::to_string(entry.line) + ": " + entry.id + ": ";
}

// Why the window would cut the translation of `text` off; empty when it fits.
std::string translationCutOff(const ScriptText& text, const std::string& translation) {
    std::string why;
    if (text.kind == TextKind::Question) {
        why = questionCutOff(translation.c_str());
    } else if (text.kind == TextKind::Answer) {
        why = answerCutOff(translation.c_str());
    }
    return why.empty() ? why : "the translated " + std::string(textKindName(text.kind)) + " " + why;
}

TranslationReview reviewTranslation(const std::vector<ScriptText>& texts,
                                    const std::vector<TranslationEntry>& entries,
                                    const std::string& file) {
    TranslationReview review;
    const TranslationAlignment alignment = alignTranslation(texts, entries);
    for (const size_t e : alignment.repeated) {
        const TranslationEntry& entry = entries[e];
        const auto first =
            std::find_if(entries.begin(), entries.end(),
                         [&](const TranslationEntry& t) { return t.id == entry.id; });
        review.stale.push_back(where(file, entry) + "given again (first on line " +
                               std::to_string(first->line) + ")");
    }
    for (size_t t = 0; t < texts.size(); ++t) {
        const ScriptText& text = texts[t];
        const int32_t e = alignment.entryOfText[t];
        const TranslationEntry* entry = e < 0 ? nullptr : &entries[static_cast<size_t>(e)];
        // An entry nobody has translated yet is missing, whatever its state.
        if (entry == nullptr || entry->translation.empty()) {
            entry = nullptr;
            ++review.missing;
        } else if (entry->fuzzy) {
            review.stale.push_back(where(file, *entry) +
                                   "marked fuzzy; confirm the translation and remove the mark");
            entry = nullptr;
        } else if (entry->source != text.text) {
            review.stale.push_back(where(file, *entry) + "translates \"" + entry->source +
                                   "\", but the script now says \"" + text.text + "\"");
            entry = nullptr;
        } else {
            ++review.translated;
            if (const std::string cut = translationCutOff(text, entry->translation); !cut.empty()) {
                review.cutOff.push_back(file + ":" + std::to_string(entry->line) +
                                        ": warning: " + entry->id + ": " + cut + " [text-cut-off]");
            }
            if (entry->id != text.id) {
                review.moved.push_back(where(file, *entry) + "the text has moved; it is " +
                                       text.id + " now");
            }
        }
        review.entries.push_back(entry);
    }
    for (const size_t e : alignment.unmatched) {
        if (!entries[e].translation.empty()) { // else nothing would be lost
            review.stale.push_back(where(file, entries[e]) + "no such text in the script any more");
        }
    }
    return review;
}

std::string codePointText(char32_t codePoint) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(codePoint));
    return number;
}

// The translation's bytes for the script, or false with the reason.
bool encodeTranslation(const ScriptText& text, const std::string& translation,
                       const std::string& encoding, std::string& bytes, std::string& why) {
    if (translation.find('"') != std::string::npos) {
        why = "holds a double quote (\"), which would end the text in the script; use "
              "typographic quotes or apostrophes";
        return false;
    }
    if (translation.find('\n') != std::string::npos) {
        why = "holds a line break; a script text stays on one line";
        return false;
    }
    if (translation.find('\0') != std::string::npos) {
        why = "holds a zero byte, which would cut the text short";
        return false;
    }
    if (encoding == WINDOWS_1252_ENCODING) {
        char32_t unmapped = 0;
        if (!toWindows1252(translation, bytes, unmapped)) {
            why = "holds " + codePointText(unmapped) + ", which " + WINDOWS_1252_ENCODING +
                  " cannot hold";
            return false;
        }
    } else if (!isUtf8(translation)) {
        why = std::string("is not valid ") + UTF8_ENCODING +
              " (an escape makes bytes no character has)";
        return false;
    } else {
        bytes = translation;
    }
    const size_t limit =
        text.kind == TextKind::Title ? MAX_TITLE : static_cast<size_t>(MAX_TEXT_LENGTH);
    if (bytes.size() > limit) {
        why = "takes " + std::to_string(bytes.size()) + " bytes in " + encoding +
              ", more than the " + std::to_string(limit) + " a" +
              (text.kind == TextKind::Title ? " title" : " text") + " may hold";
        return false;
    }
    return true;
}

// The encoding the script's texts are in: UTF-8 when every one is valid
// UTF-8 (plain ASCII included), else Windows-1252.
std::string encodingOfTexts(const std::vector<ScriptText>& texts) {
    for (const ScriptText& text : texts) {
        if (!isUtf8(text.bytes)) {
            return WINDOWS_1252_ENCODING;
        }
    }
    return UTF8_ENCODING;
}

// Loads the built script with the player's loader, from memory.
bool loadBuilt(const std::string& bytes, bool plain, ConversationEngine& engine,
               std::string& error) {
    if (plain) {
        engine.disableDescramble();
    }
    MemorySource source(bytes.data(), bytes.size());
    const LoadResult result = loadScriptFrom(engine, source);
    if (!result.ok()) {
        char detail[LOAD_DETAIL_TEXT_SIZE];
        error = "the translated script does not load: line " + std::to_string(result.line) +
                ": error " + std::to_string(result.code) + ": " + result.message + " " +
                describeLoadDetail(result.detail, detail, sizeof detail);
        return false;
    }
    return true;
}

} // namespace

bool readScriptTexts(bool, size_t limit, ScriptWithTexts& script, std::string& error) {
    if (!script.loaded.input) {
        error = "the script was not read from a file";
        return false;
    }
    // The load keeps no more than the largest script it can be given.
    if (script.loaded.bytes.size() > limit ||
        (script.loaded.bytes.empty() && !readStart(script.loaded.input->source(), 1).empty())) {
        error = "the script holds more than the " + std::to_string(limit) +
                " bytes a translation works on";
        return false;
    }
    script.plain = scriptText(script.loaded);
    return findScriptTexts(script.plain, *script.loaded.engine, script.texts, error);
}

bool readTranslationFile(const std::string& name, std::vector<TranslationEntry>& entries,
                         std::string& error) {
    std::string bytes;
    return readWholeFile(name, STANDARD_INPUT_LIMIT, bytes, error) &&
           readTranslation(bytes, formatOfName(name), entries, error);
}

bool translateScript(const ScriptWithTexts& script, const std::vector<TranslationEntry>& entries,
                     const std::string& translationFile, const std::string& encoding, bool plain,
                     TranslatedScript& result) {
    result.encoding = encoding.empty() ? encodingOfTexts(script.texts) : encoding;
    result.review = reviewTranslation(script.texts, entries, translationFile);
    result.refused = result.review.stale;
    std::vector<std::string> replaced;
    for (size_t i = 0; i < script.texts.size(); ++i) {
        const ScriptText& text = script.texts[i];
        const TranslationEntry* entry = result.review.entries[i];
        std::string bytes = text.bytes;
        std::string why;
        // A text translated as itself keeps its bytes, whatever their encoding.
        if (entry != nullptr && entry->translation != text.text &&
            !encodeTranslation(text, entry->translation, result.encoding, bytes, why)) {
            result.refused.push_back(where(translationFile, *entry) + why);
        }
        replaced.push_back(bytes);
    }
    if (!result.refused.empty()) {
        return false;
    }
    // Texts stand in file order, so the bytes between them are copied as they are.
    std::string& built = result.built;
    size_t copied = 0;
    for (size_t i = 0; i < script.texts.size(); ++i) {
        built.append(script.plain, copied, script.texts[i].offset - copied);
        built += replaced[i];
        copied = script.texts[i].offset + script.texts[i].length;
    }
    built.append(script.plain, copied, std::string::npos);
    if (!plain) {
        built = scrambleText(built);
    }
    ConversationEngine check;
    return loadBuilt(built, plain, check, result.problem) &&
           sameScriptBesidesTexts(*script.loaded.engine, check, script.texts, replaced,
                                  result.problem);
}

} // namespace murmex::tool
