// Building a translated script: the script's shown texts read with their
// bytes, a translation's entries checked against them, and the script built
// again with the translations in place of the texts, byte for byte, kept only
// when it loads and differs from the original in those texts alone.
#pragma once

#include "tools/authoring/script_texts.h"
#include "tools/authoring/translation_file.h"
#include "tools/script_io/script_loading.h"

#include <cstddef>
#include <string>
#include <vector>

namespace murmex::tool {

// The encodings a translated script may be written in.
inline constexpr const char* UTF8_ENCODING = "utf-8";
inline constexpr const char* WINDOWS_1252_ENCODING = "windows-1252";

// A loaded script with its plain bytes and its shown texts.
struct ScriptWithTexts {
    LoadedScript loaded;
    std::string plain;
    std::vector<ScriptText> texts;
};

// Reads a script that loaded from a file or standard input whole again, from
// the source the load read (standard input is held in memory, a file is read
// afresh: a change since the load shows up as texts that do not match the
// model), and finds its texts. A script of more than `limit` bytes is
// refused, never cut: the loader reads on past any bound. False with the
// reason in `error`.
bool readScriptTexts(bool plain, size_t limit, ScriptWithTexts& script, std::string& error);

// Reads the translation file `name`, a .po or .csv by its name. False with
// the reason in `error`.
bool readTranslationFile(const std::string& name, std::vector<TranslationEntry>& entries,
                         std::string& error);

// How each text of the script fares in a translation.
struct TranslationReview {
    // Per text: its entry, or null when the translation has none or an empty one.
    std::vector<const TranslationEntry*> entries;
    size_t translated = 0;
    size_t missing = 0;
    // "FILE:LINE: ID: why" for every entry import refuses as stale.
    std::vector<std::string> stale;
    // "FILE:LINE: ID: ..." for every entry taken for its text under the
    // text's new id, after units were inserted or moved before it.
    std::vector<std::string> moved;
    // "FILE:LINE: warning: ID: ... [text-cut-off]" for every translation the
    // window would cut off, worded as lint words the original's.
    std::vector<std::string> cutOff;
};

// What import builds from a translation, or why it refuses to.
struct TranslatedScript {
    std::string encoding;
    TranslationReview review;
    // "FILE:LINE: ID: why" for each entry refused, the stale ones first.
    std::vector<std::string> refused;
    // Why the script built from sound entries is refused; empty when it isn't.
    std::string problem;
    std::string built;
};

// The translated script, checked as import checks it: every entry sound,
// the result loading and equal to the script in all but the texts. False
// when import would refuse it, with the reasons in `result`. `encoding` is
// one of the two above, or empty for the one the script's texts use;
// `translationFile` names the entries' file in the reasons.
bool translateScript(const ScriptWithTexts& script, const std::vector<TranslationEntry>& entries,
                     const std::string& translationFile, const std::string& encoding, bool plain,
                     TranslatedScript& result);

} // namespace murmex::tool
