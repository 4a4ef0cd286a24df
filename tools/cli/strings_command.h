// `murmex strings`: a script's shown texts out to translators (PO or CSV),
// a translated script built back from their work, and how far a
// translation has got.
#pragma once

#include "tools/cli/command.h"

#include <ostream>
#include <string>

namespace murmex::tool {

// The most bytes of script a strings command takes: far above any real
// script, and a bound the command states rather than a cut it makes.
constexpr size_t STRINGS_SCRIPT_LIMIT = size_t{256} << 20;

struct StringsExportOptions {
    std::string file;
    bool plain = false;
    // "po" or "csv".
    std::string format = "po";
    // The target language the PO header names; may be empty.
    std::string language;
    // Empty: standard output. A file that is there already is a
    // translation to bring up to date, unless `overwrite` is set.
    std::string output;
    bool overwrite = false;
    // Write the voice-over script (CSV) instead of a translation. An OUT
    // that is there already is replaced only with `overwrite`.
    bool voice = false;
};

struct StringsImportOptions {
    std::string file;
    bool plain = false;
    std::string translation;
    // "utf-8", "windows-1252", or empty for the one the script's texts use.
    std::string encoding;
    std::string output;
    // A script larger than this is refused; tests lower it.
    size_t scriptLimit = STRINGS_SCRIPT_LIMIT;
};

struct StringsStatusOptions {
    std::string file;
    bool plain = false;
    std::string translation;
    // As for import: the encoding import would be given.
    std::string encoding;
};

// The texts as a translation file, on `out` or in options.output. An output
// that exists is updated: its translations, marks and comments are kept for
// the texts they belong to, and `out` says how many of each there were.
int runStringsExport(const StringsExportOptions& options, std::ostream& out, std::ostream& err);
// The translated script in options.output, written whole and only when every
// entry is sound and the result loads; each refused entry is listed on `err`.
int runStringsImport(const StringsImportOptions& options, std::ostream& out, std::ostream& err);
// Counts of translated, missing and stale texts, and every entry import would
// refuse, with the reason; EXIT_FAILED exactly when import would refuse the
// translation.
int runStringsStatus(const StringsStatusOptions& options, std::ostream& out, std::ostream& err);

void addStringsOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen);

} // namespace murmex::tool
