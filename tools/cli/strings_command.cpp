// `murmex strings export|import|status`. Export lists the texts a player can
// see; import puts translations in their place, byte for byte, and keeps the
// result only when it loads and differs from the script in those texts
// alone; status says how complete and how current a translation is.
#include "tools/cli/strings_command.h"

#include "murmex/load_script.h"
#include "murmex/scrambling.h"
#include "text/display_text.h"
#include "tools/authoring/file_output.h"
#include "tools/authoring/script_texts.h"
#include "tools/authoring/translation_file.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_loading.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <map>
#include <memory>

namespace murmex::tool {

namespace {

constexpr const char* UTF8 = "utf-8";
constexpr const char* WINDOWS_1252 = "windows-1252";

// A loaded script with its plain bytes and its shown texts.
struct ScriptWithTexts {
    LoadedScript loaded;
    std::string plain;
    std::vector<ScriptText> texts;
};

// Loads the script, then reads it whole again from the source the load read:
// standard input is held in memory, a file is read afresh (a change since the
// load shows up as texts that do not match the model). A script of more than
// `limit` bytes is refused, never cut: the loader reads on past any bound.
bool loadWithTexts(const std::string& file, bool plain, size_t limit, const std::string& prefix,
                   ScriptWithTexts& script, std::ostream& err) {
    script.loaded = loadScript(file, plain);
    if (!script.loaded.ok()) {
        err << loadErrorLine(file, plain, script.loaded) << '\n';
        return false;
    }
    script.plain = readStart(script.loaded.input->source(), limit + 1);
    if (script.plain.size() > limit) {
        err << prefix << file << ": the script holds more than the " << limit
            << " bytes a translation works on\n";
        return false;
    }
    if (!plain) {
        scrambleBytes(script.plain.data(), script.plain.size());
    }
    std::string error;
    if (!findScriptTexts(script.plain, *script.loaded.engine, script.texts, error)) {
        err << prefix << file << ": " << error << '\n';
        return false;
    }
    return true;
}

bool readTranslationFile(const std::string& name, std::vector<TranslationEntry>& entries,
                         const std::string& prefix, std::ostream& err) {
    std::string bytes;
    std::string error;
    if (!readWholeFile(name, STANDARD_INPUT_LIMIT, bytes, error) ||
        !readTranslation(bytes, formatOfName(name), entries, error)) {
        err << prefix << name << ": " << error << '\n';
        return false;
    }
    return true;
}

// How each text of the script fares in a translation.
struct Review {
    // Per text: its entry, or null when the translation has none or an empty one.
    std::vector<const TranslationEntry*> entries;
    size_t translated = 0;
    size_t missing = 0;
    // "FILE:LINE: ID: why" for every entry import refuses as stale.
    std::vector<std::string> stale;
};

std::string where(const std::string& file, const TranslationEntry& entry) {
    return file + ":" + std::to_string(entry.line) + ": " + entry.id + ": ";
}

Review reviewTranslation(const std::vector<ScriptText>& texts,
                         const std::vector<TranslationEntry>& entries, const std::string& file) {
    Review review;
    std::map<std::string, const TranslationEntry*> byId;
    for (const TranslationEntry& entry : entries) {
        if (!byId.emplace(entry.id, &entry).second) {
            review.stale.push_back(where(file, entry) + "given again (first on line " +
                                   std::to_string(byId[entry.id]->line) + ")");
        }
    }
    for (const ScriptText& text : texts) {
        const auto found = byId.find(text.id);
        const TranslationEntry* entry = found == byId.end() ? nullptr : found->second;
        if (entry != nullptr) {
            byId.erase(found);
        }
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
        }
        review.entries.push_back(entry);
    }
    for (const auto& [id, entry] : byId) {
        if (entry->translation.empty()) {
            continue; // nothing would be lost
        }
        review.stale.push_back(where(file, *entry) + "no such text in the script any more");
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
    if (encoding == WINDOWS_1252) {
        char32_t unmapped = 0;
        if (!toWindows1252(translation, bytes, unmapped)) {
            why = "holds " + codePointText(unmapped) + ", which " + WINDOWS_1252 + " cannot hold";
            return false;
        }
    } else if (!isUtf8(translation)) {
        why = std::string("is not valid ") + UTF8 + " (an escape makes bytes no character has)";
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
            return WINDOWS_1252;
        }
    }
    return UTF8;
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

// What import builds from a translation, or why it refuses to.
struct Translated {
    std::string encoding;
    Review review;
    // "FILE:LINE: ID: why" for each entry refused, the stale ones first.
    std::vector<std::string> refused;
    // Why the script built from sound entries is refused; empty when it isn't.
    std::string problem;
    std::string built;
};

// The translated script, checked as import checks it: every entry sound,
// the result loading and equal to the script in all but the texts. False
// when import would refuse it, with the reasons in `result`.
bool translate(const ScriptWithTexts& script, const std::vector<TranslationEntry>& entries,
               const std::string& translationFile, const std::string& encoding, bool plain,
               Translated& result) {
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
        scrambleBytes(built.data(), built.size());
    }
    ConversationEngine check;
    return loadBuilt(built, plain, check, result.problem) &&
           sameScriptBesidesTexts(*script.loaded.engine, check, script.texts, replaced,
                                  result.problem);
}

// An output named on the command line that would replace one of the inputs:
// the script, the translation, or the file standard input reads.
std::string overwrittenInput(const std::string& file, const std::string& translation,
                             const std::string& output) {
    if (sameFile(file, output)) {
        return "SCRIPT";
    }
    if (!translation.empty() && sameFile(translation, output)) {
        return "the translation";
    }
    if (isStandardInput(output)) {
        return "the file standard input reads";
    }
    return "";
}

int exportTexts(const StringsExportOptions& options, std::ostream& out, std::ostream& err) {
    const std::string prefix = "murmex strings export: ";
    if (!options.output.empty()) {
        if (const std::string input = overwrittenInput(options.file, "", options.output);
            !input.empty()) {
            err << prefix << "OUT is " << input
                << ", which is never overwritten: " << options.output << '\n';
            return EXIT_FAILED;
        }
    }
    ScriptWithTexts script;
    if (!loadWithTexts(options.file, options.plain, STRINGS_SCRIPT_LIMIT, prefix, script, err)) {
        return EXIT_FAILED;
    }
    const std::string document =
        options.format == "csv"
            ? writeCsv(script.texts, options.file)
            : writePo(script.texts, options.file, displayText(script.loaded.engine->title),
                      options.language);
    if (options.output.empty()) {
        out << document;
        return EXIT_OK;
    }
    std::string error;
    if (!writeFileWhole(options.output, document, true, error)) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int importTexts(const StringsImportOptions& options, std::ostream& out, std::ostream& err) {
    const std::string prefix = "murmex strings import: ";
    if (const std::string input =
            overwrittenInput(options.file, options.translation, options.output);
        !input.empty()) {
        err << prefix << "OUT is " << input << ", which is never overwritten: " << options.output
            << '\n';
        return EXIT_FAILED;
    }
    ScriptWithTexts script;
    std::vector<TranslationEntry> entries;
    if (!loadWithTexts(options.file, options.plain, options.scriptLimit, prefix, script, err) ||
        !readTranslationFile(options.translation, entries, prefix, err)) {
        return EXIT_FAILED;
    }
    Translated translated;
    if (!translate(script, entries, options.translation, options.encoding, options.plain,
                   translated)) {
        for (const std::string& line : translated.refused) {
            err << line << '\n';
        }
        const size_t refused = translated.refused.size();
        if (refused > 0) {
            err << prefix << refused << " entr" << (refused == 1 ? "y" : "ies")
                << " refused; nothing written\n";
        } else {
            err << prefix << translated.problem << "; nothing written\n";
        }
        return EXIT_FAILED;
    }
    std::string error;
    if (!writeFileWhole(options.output, translated.built, true, error)) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    const Review& review = translated.review;
    out << options.output << ": " << script.texts.size() << " texts, " << review.translated
        << " translated, " << review.missing << " missing (kept as in " << options.file
        << "), written in " << translated.encoding << '\n';
    return EXIT_OK;
}

int statusOfTexts(const StringsStatusOptions& options, std::ostream& out, std::ostream& err) {
    const std::string prefix = "murmex strings status: ";
    ScriptWithTexts script;
    std::vector<TranslationEntry> entries;
    if (!loadWithTexts(options.file, options.plain, STRINGS_SCRIPT_LIMIT, prefix, script, err) ||
        !readTranslationFile(options.translation, entries, prefix, err)) {
        return EXIT_FAILED;
    }
    Translated translated;
    const bool sound = translate(script, entries, options.translation, options.encoding,
                                 options.plain, translated);
    const Review& review = translated.review;
    const size_t otherwiseRefused = translated.refused.size() - review.stale.size();
    out << options.translation << ": " << script.texts.size() << " texts, " << review.translated
        << " translated, " << review.missing << " missing, " << review.stale.size() << " stale"
        << (otherwiseRefused > 0 ? ", " + std::to_string(otherwiseRefused) + " refused" : "")
        << '\n';
    for (const std::string& line : translated.refused) {
        out << line << '\n';
    }
    if (!translated.problem.empty()) {
        out << options.translation << ": " << translated.problem << '\n';
    }
    return sound ? EXIT_OK : EXIT_FAILED;
}

void addEncodingOption(CLI::App* command, std::string& encoding) {
    command
        ->add_option("--encoding", encoding,
                     "Encoding of the translated texts; default: the one the script's texts use")
        ->check(CLI::IsMember({UTF8, WINDOWS_1252}));
}

void addScriptOptions(CLI::App* command, std::string& file, bool& plain) {
    command->add_flag("--plain", plain, "Read the script as plain text, not descrambled");
    command->add_option("SCRIPT", file, "Script file")->required();
}

} // namespace

int runStringsExport(const StringsExportOptions& options, std::ostream& out, std::ostream& err) {
    return exportTexts(options, out, err);
}

int runStringsImport(const StringsImportOptions& options, std::ostream& out, std::ostream& err) {
    return importTexts(options, out, err);
}

int runStringsStatus(const StringsStatusOptions& options, std::ostream& out, std::ostream& err) {
    return statusOfTexts(options, out, err);
}

CLI::App* addStringsCommand(CLI::App& app, ChosenCommand& chosen) {
    CLI::App* strings = app.add_subcommand(
        "strings", "Export the shown texts for translation and build translated scripts");
    strings->require_subcommand(1);

    auto exportOptions = std::make_shared<StringsExportOptions>();
    CLI::App* exporter =
        strings->add_subcommand("export", "Write every text a player can see as PO or CSV");
    addScriptOptions(exporter, exportOptions->file, exportOptions->plain);
    exporter->add_option("--format", exportOptions->format, "po (default) or csv")
        ->check(CLI::IsMember({"po", "csv"}));
    exporter->add_option("--language", exportOptions->language,
                         "Target language for the PO header, such as de or pt_BR");
    exporter->add_option("-o,--output", exportOptions->output,
                         "File to write; standard output without it");
    exporter->callback([exportOptions, &chosen] {
        chosen.run = [exportOptions](std::ostream& out, std::ostream& err) {
            return runStringsExport(*exportOptions, out, err);
        };
    });

    auto importOptions = std::make_shared<StringsImportOptions>();
    CLI::App* importer = strings->add_subcommand(
        "import", "Build the script with the texts of a translation (.po or .csv)");
    addScriptOptions(importer, importOptions->file, importOptions->plain);
    importer->add_option("TRANSLATION", importOptions->translation, "The .po or .csv file")
        ->required();
    addEncodingOption(importer, importOptions->encoding);
    importer->add_option("-o,--output", importOptions->output, "Translated script to write")
        ->required();
    importer->callback([importOptions, &chosen] {
        chosen.run = [importOptions](std::ostream& out, std::ostream& err) {
            return runStringsImport(*importOptions, out, err);
        };
    });

    auto statusOptions = std::make_shared<StringsStatusOptions>();
    CLI::App* status =
        strings->add_subcommand("status", "Count translated, missing and stale texts");
    addScriptOptions(status, statusOptions->file, statusOptions->plain);
    status->add_option("TRANSLATION", statusOptions->translation, "The .po or .csv file")
        ->required();
    addEncodingOption(status, statusOptions->encoding);
    status->callback([statusOptions, &chosen] {
        chosen.run = [statusOptions](std::ostream& out, std::ostream& err) {
            return runStringsStatus(*statusOptions, out, err);
        };
    });
    return strings;
}

} // namespace murmex::tool
