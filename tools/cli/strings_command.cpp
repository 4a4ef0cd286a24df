// `murmex strings export|import|status`. Export lists the texts a player can
// see; import puts translations in their place, byte for byte, and keeps the
// result only when it loads and differs from the script in those texts
// alone; status says how complete and how current a translation is.
#include "tools/cli/strings_command.h"

#include "text/display_text.h"
#include "tools/authoring/translation_file.h"
#include "tools/authoring/translation_import.h"
#include "tools/authoring/translation_update.h"
#include "tools/platform/file_output.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace murmex::tool {

namespace {

// Loads the script and reads its texts; a failure is reported on `err`.
bool loadWithTexts(const std::string& file, bool plain, size_t limit, const std::string& prefix,
                   ScriptWithTexts& script, std::ostream& err) {
    script.loaded = loadScript(file, plain);
    if (!script.loaded.ok()) {
        err << loadErrorLine(file, plain, script.loaded) << '\n';
        return false;
    }
    std::string error;
    if (!readScriptTexts(plain, limit, script, error)) {
        err << prefix << file << ": " << error << '\n';
        return false;
    }
    return true;
}

// Reads the translation; a failure is reported on `err`.
bool loadTranslation(const std::string& name, std::vector<TranslationEntry>& entries,
                     const std::string& prefix, std::ostream& err) {
    std::string error;
    if (!readTranslationFile(name, entries, error)) {
        err << prefix << name << ": " << error << '\n';
        return false;
    }
    return true;
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

// True when `path` is there and not empty: an output to update, not to write
// afresh.
bool holdsBytes(const std::string& path) {
    std::error_code failed;
    if (!std::filesystem::exists(path, failed)) {
        return false;
    }
    return !std::filesystem::is_regular_file(path, failed) ||
           std::filesystem::file_size(path, failed) != 0;
}

// Reads the translation an export is to update; a file that is no
// translation in the export's format is refused, not replaced.
bool readPrevious(const std::string& name, TranslationFormat format, TranslationDocument& document,
                  const std::string& prefix, std::ostream& err) {
    std::string bytes;
    std::string error;
    if (!readWholeFile(name, STANDARD_INPUT_LIMIT, bytes, error) ||
        !readTranslationDocument(bytes, format, document, error)) {
        err << prefix << name << ": " << error
            << "; it is not replaced (--overwrite writes a new file in its place)\n";
        return false;
    }
    return true;
}

// The voice-over script: written afresh, so one that is there already (and
// may hold a studio's notes) is replaced only when asked.
int writeVoice(const StringsExportOptions& options, const ScriptWithTexts& script,
               std::ostream& out, std::ostream& err) {
    const std::string lines = writeVoiceScript(script.texts, *script.loaded.engine, options.file);
    if (options.output.empty()) {
        out << lines;
        return EXIT_OK;
    }
    if (!options.overwrite && holdsBytes(options.output)) {
        err << "murmex strings export: " << options.output
            << " is there already; --overwrite replaces it\n";
        return EXIT_FAILED;
    }
    std::string error;
    if (!writeFileWhole(options.output, lines, true, error)) {
        err << "murmex strings export: " << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
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
    if (options.voice) {
        return writeVoice(options, script, out, err);
    }
    const TranslationFormat format =
        options.format == "csv" ? TranslationFormat::Csv : TranslationFormat::Po;
    const auto written = [&](const CarriedTranslations* carried) {
        return format == TranslationFormat::Csv
                   ? writeCsv(script.texts, options.file, carried)
                   : writePo(script.texts, options.file, displayText(script.loaded.engine->title),
                             options.language, carried);
    };
    if (options.output.empty()) {
        out << written(nullptr);
        return EXIT_OK;
    }
    TranslationDocument previous;
    const bool updating = !options.overwrite && holdsBytes(options.output);
    if (updating && !readPrevious(options.output, format, previous, prefix, err)) {
        return EXIT_FAILED;
    }
    TranslationUpdateCounts counts;
    const CarriedTranslations carried = carryTranslations(previous, script.texts, counts);
    std::string error;
    if (!writeFileWhole(options.output, written(updating ? &carried : nullptr), true, error)) {
        err << prefix << error << '\n';
        return EXIT_FAILED;
    }
    if (updating) {
        out << options.output << ": updated, " << describeUpdate(script.texts.size(), counts)
            << '\n';
    }
    return EXIT_OK;
}

// A translation the window cuts off is written all the same: the translator
// may shorten it, or the writer the original.
void warnOfCutOffs(const TranslationReview& review, std::ostream& out) {
    for (const std::string& line : review.cutOff) {
        out << line << '\n';
    }
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
        !loadTranslation(options.translation, entries, prefix, err)) {
        return EXIT_FAILED;
    }
    TranslatedScript translated;
    if (!translateScript(script, entries, options.translation, options.encoding, options.plain,
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
    const TranslationReview& review = translated.review;
    out << options.output << ": " << script.texts.size() << " texts, " << review.translated
        << " translated, " << review.missing << " missing (kept as in " << options.file
        << "), written in " << translated.encoding << '\n';
    warnOfCutOffs(review, err);
    return EXIT_OK;
}

int statusOfTexts(const StringsStatusOptions& options, std::ostream& out, std::ostream& err) {
    const std::string prefix = "murmex strings status: ";
    ScriptWithTexts script;
    std::vector<TranslationEntry> entries;
    if (!loadWithTexts(options.file, options.plain, STRINGS_SCRIPT_LIMIT, prefix, script, err) ||
        !loadTranslation(options.translation, entries, prefix, err)) {
        return EXIT_FAILED;
    }
    TranslatedScript translated;
    const bool sound = translateScript(script, entries, options.translation, options.encoding,
                                       options.plain, translated);
    const TranslationReview& review = translated.review;
    const size_t otherwiseRefused = translated.refused.size() - review.stale.size();
    const size_t moved = review.moved.size();
    out << options.translation << ": " << script.texts.size() << " texts, " << review.translated
        << " translated, " << review.missing << " missing, " << review.stale.size() << " stale"
        << (otherwiseRefused > 0 ? ", " + std::to_string(otherwiseRefused) + " refused" : "")
        << (moved > 0 ? ", " + std::to_string(moved) + " moved" : "") << '\n';
    for (const std::string& line : translated.refused) {
        out << line << '\n';
    }
    for (const std::string& line : review.moved) {
        out << line << '\n';
    }
    warnOfCutOffs(review, out);
    if (!translated.problem.empty()) {
        out << options.translation << ": " << translated.problem << '\n';
    }
    return sound ? EXIT_OK : EXIT_FAILED;
}

void addEncodingOption(CLI::App* command, std::string& encoding) {
    command
        ->add_option("--encoding", encoding,
                     "Encoding of the translated texts; default: the one the script's texts use")
        ->check(CLI::IsMember({UTF8_ENCODING, WINDOWS_1252_ENCODING}));
}

// --plain and --scrambled, settled into `plain` once the line is parsed.
void addScriptOptions(CLI::App* command, std::string& file, bool& plain) {
    auto scrambled = std::make_shared<bool>(false);
    CLI::Option* plainFlag = command->add_flag("--plain", plain, PLAIN_HELP);
    command->add_flag("--scrambled", *scrambled, SCRAMBLED_HELP)->excludes(plainFlag);
    command->add_option("SCRIPT", file, "Script file")->required();
    command->parse_complete_callback(
        [&file, &plain, scrambled] { plain = readsPlain(file, plain, *scrambled); });
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

void addStringsOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    CLI::App* strings = &command;
    strings->require_subcommand(1);

    auto exportOptions = std::make_shared<StringsExportOptions>();
    CLI::App* exporter =
        strings->add_subcommand("export", "Write every text a player can see as PO or CSV");
    addScriptOptions(exporter, exportOptions->file, exportOptions->plain);
    CLI::Option* format =
        exporter->add_option("--format", exportOptions->format, "po (default) or csv")
            ->check(CLI::IsMember({"po", "csv"}));
    exporter
        ->add_flag("--voice", exportOptions->voice,
                   "Write the voice-over script instead: a CSV row of id, character, text, "
                   "the question that leads to it and notes for every line a player can be "
                   "shown")
        ->excludes(format);
    exporter->add_option("--language", exportOptions->language,
                         "Target language for the PO header, such as de or pt_BR");
    exporter->add_option("-o,--output", exportOptions->output,
                         "File to write; standard output without it. A translation that is "
                         "there already is updated: its translations are kept");
    exporter->add_flag("--overwrite", exportOptions->overwrite,
                       "Write OUT afresh, dropping every translation it holds");
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
}

} // namespace murmex::tool
