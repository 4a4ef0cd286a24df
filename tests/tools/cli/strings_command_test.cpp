// murmex strings: a translation that repeats every source text builds the
// script byte for byte (plain and scrambled, PO and CSV), exported PO files
// pass gettext's own check, exporting over a translation keeps every
// translation, each kind of unsound entry is refused with its
// reason, and a Windows-1252 script is written back in Windows-1252.
#include "tools/cli/strings_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace {

using murmex::testing::readBytes;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using namespace murmex::tool;

// The exported file with every translation set to its source text.
std::string translatedAsSource(const std::string& exported, bool csv) {
    if (csv) {
        // Rows are "id,character,kind,source,,notes": the empty column takes the source.
        static const std::regex row(R"(^([^,]*,[^,]*,[^,]*,)("(?:[^"]|"")*"|[^,]*),,)",
                                    std::regex::multiline);
        return std::regex_replace(exported, row, "$1$2,$2,");
    }
    static const std::regex entry(R"((msgid (".+")\n)msgstr "")");
    return std::regex_replace(exported, entry, "$1msgstr $2");
}

bool hasMsgfmt() {
    return std::system("msgfmt --version >/dev/null 2>&1") == 0;
}

TEST(Strings, TranslationAsSourceRebuildsTheScriptExactly) {
    const std::string demo = readBytes(MURMEX_DEMO_SCRIPT);
    for (const bool plain : {true, false}) {
        for (const char* format : {"po", "csv"}) {
            SCOPED_TRACE(std::string(plain ? "plain " : "scrambled ") + format);
            ScratchFolder folder;
            const std::string bytes = plain ? demo : murmex::testing::scrambled(demo);
            const std::string script = folder.write("demo.chr", bytes);
            const auto exported = runCommand(runStringsExport, {script, plain, format, "de", ""});
            ASSERT_EQ(exported.status, EXIT_OK) << exported.err;
            const bool csv = std::string(format) == "csv";
            const std::string translation =
                folder.write(std::string("demo.") + format, translatedAsSource(exported.out, csv));
            if (!csv && hasMsgfmt()) {
                const std::string check = "msgfmt --check -o /dev/null '" + translation + "'";
                EXPECT_EQ(std::system(check.c_str()), 0);
            }
            const std::string out = folder.path("out.chr");
            const auto imported =
                runCommand(runStringsImport, {script, plain, translation, "", out});
            ASSERT_EQ(imported.status, EXIT_OK) << imported.err;
            EXPECT_EQ(readBytes(out), bytes);
            EXPECT_NE(imported.out.find("55 texts, 55 translated, 0 missing"), std::string::npos)
                << imported.out;
        }
    }
    if (!hasMsgfmt()) {
        GTEST_SKIP() << "msgfmt is missing: the PO files were not checked with it";
    }
}

// Exporting again over a translation brings it up to date and loses none of
// it: unchanged, the file comes back byte for byte; after an edit the changed
// text keeps its translation as fuzzy, the one gone (changed in another
// state) keeps it as obsolete, and
// the translator's comment stays. A file that is no translation is refused.
TEST(Strings, ExportOverATranslationKeepsEveryTranslation) {
    struct Case {
        const char* format;
        const char* changed;
        const char* gone;
    };
    const Case cases[] = {
        {"po",
         "#, fuzzy\n#| msgid \"Hello.\"\nmsgctxt \"Intro/S0/1/A\"\nmsgid \"Hello "
         "there.\"\nmsgstr \"Hello.\"\n",
         "#~ msgctxt \"Intro/S0/2/Q\"\n#~ msgid \"Bye.\"\n#~ msgstr \"Bye.\"\n"},
        {"csv", "Intro/S0/1/A,Intro,answer,Hello there.,Hello.,",
         "Intro/S0/2/Q,,,Bye.,Bye.,,obsolete,\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const bool csv = std::string(c.format) == "csv";
        ScratchFolder folder;
        std::string text = murmex::testing::smallScript();
        const std::string script = folder.write("small.chr", text);
        const std::string out = folder.path(std::string("de.") + c.format);
        const auto fresh = runCommand(runStringsExport, {script, true, c.format, "de", ""});
        std::string translated = translatedAsSource(fresh.out, csv);
        if (!csv) {
            translated.replace(translated.find("#. "), 0, "# checked by Ana\n");
        }
        folder.write(std::string("de.") + c.format, translated);
        const auto again = runCommand(runStringsExport, {script, true, c.format, "de", out});
        ASSERT_EQ(again.status, EXIT_OK) << again.err;
        EXPECT_EQ(readBytes(out), translated);

        text.replace(text.find("Hello."), 6, "Hello there.");
        text.replace(text.find("S = \"0\" N = \"-1\" Q = \"Bye.\""), 28,
                     "S = \"1\" N = \"-1\" Q = \"Farewell.\"");
        folder.write("small.chr", text);
        const auto edited = runCommand(runStringsExport, {script, true, c.format, "de", out});
        ASSERT_EQ(edited.status, EXIT_OK) << edited.err;
        EXPECT_NE(
            edited.out.find("3 texts: 1 kept, 0 moved, 1 changed (marked fuzzy), 1 untranslated, 1 "
                            "now obsolete"),
            std::string::npos)
            << edited.out;
        const std::string updated = readBytes(out);
        EXPECT_NE(updated.find(c.changed), std::string::npos) << updated;
        EXPECT_NE(updated.find(c.gone), std::string::npos) << updated;
        EXPECT_EQ(updated.find("# checked by Ana") != std::string::npos, !csv) << updated;
        if (csv) {
            EXPECT_NE(updated.find(",fuzzy,Hello.\r\n"), std::string::npos) << updated;
        } else if (hasMsgfmt()) {
            const std::string check = "msgfmt --check -o /dev/null '" + out + "'";
            EXPECT_EQ(std::system(check.c_str()), 0);
        }
        // Obsolete and fuzzy entries survive the next update as they are.
        ASSERT_EQ(runCommand(runStringsExport, {script, true, c.format, "de", out}).status,
                  EXIT_OK);
        EXPECT_EQ(readBytes(out), updated);

        const auto afresh = runCommand(runStringsExport, {script, true, c.format, "de", out, true});
        ASSERT_EQ(afresh.status, EXIT_OK) << afresh.err;
        EXPECT_EQ(readBytes(out),
                  runCommand(runStringsExport, {script, true, c.format, "de", ""}).out);

        folder.write(std::string("de.") + c.format, csv ? "no,columns\n" : "not a PO file\n");
        const auto refused = runCommand(runStringsExport, {script, true, c.format, "de", out});
        EXPECT_EQ(refused.status, EXIT_FAILED);
        EXPECT_NE(refused.err.find("it is not replaced"), std::string::npos) << refused.err;
        EXPECT_EQ(readBytes(out), csv ? "no,columns\n" : "not a PO file\n");
    }
}

// A unit inserted before a translated one gives that one's text a new id;
// its translation follows the text there in status, import and export, and
// only the new unit's texts are missing.
TEST(Strings, AUnitInsertedBeforeATranslatedOneKeepsItsTranslation) {
    ScratchFolder folder;
    std::string text = murmex::testing::smallScript();
    const std::string script = folder.write("small.chr", text);
    const auto fresh = runCommand(runStringsExport, {script, true, "po", "de", ""});
    const std::string po = folder.write("de.po", translatedAsSource(fresh.out, false));
    const std::string bye = "  { S = \"0\" N = \"-1\"";
    text.insert(text.find(bye),
                "  { S = \"0\" N = \"0\" Q = \"Wait.\" A = \"Waiting.\" ACT = \"ACT_NONE\" }\r\n");
    folder.write("small.chr", text);

    const auto status = runCommand(runStringsStatus, {script, true, po, ""});
    EXPECT_EQ(status.status, EXIT_OK) << status.out;
    EXPECT_NE(status.out.find("5 texts, 3 translated, 2 missing, 0 stale, 1 moved\n"),
              std::string::npos)
        << status.out;
    EXPECT_NE(status.out.find("Intro/S0/2/Q: the text has moved; it is Intro/S0/3/Q now"),
              std::string::npos)
        << status.out;
    const auto imported =
        runCommand(runStringsImport, {script, true, po, "", folder.path("o.chr")});
    EXPECT_EQ(imported.status, EXIT_OK) << imported.err;

    const auto updated = runCommand(runStringsExport, {script, true, "po", "de", po});
    EXPECT_NE(updated.out.find("5 texts: 2 kept, 1 moved, 0 changed"), std::string::npos)
        << updated.out;
    EXPECT_NE(readBytes(po).find("msgctxt \"Intro/S0/3/Q\"\nmsgid \"Bye.\"\nmsgstr \"Bye.\"\n"),
              std::string::npos)
        << readBytes(po);
}

// A translation the window would cut off is warned of, in status and in
// import, and written all the same.
TEST(Strings, WarnsOfTranslationsTheWindowCutsOff) {
    ScratchFolder folder;
    const std::string script = folder.write("small.chr", murmex::testing::smallScript());
    const auto fresh = runCommand(runStringsExport, {script, true, "po", "de", ""});
    std::string po = translatedAsSource(fresh.out, false);
    po.replace(po.find("msgstr \"Hello.\""), 16, "msgstr \"" + std::string(70, 'M') + "\"");
    po.replace(po.find("msgstr \"Bye.\""), 14, "msgstr \"" + std::string(62, '5') + "\"");
    const std::string translation = folder.write("de.po", po);

    const auto status = runCommand(runStringsStatus, {script, true, translation, ""});
    EXPECT_EQ(status.status, EXIT_OK) << status.out;
    const auto imported =
        runCommand(runStringsImport, {script, true, translation, "", folder.path("o.chr")});
    EXPECT_EQ(imported.status, EXIT_OK) << imported.err;
    for (const std::string& shown : {status.out, imported.err}) {
        EXPECT_NE(shown.find(": warning: Intro/S0/1/A: the translated answer has a word wider "
                             "than the 428 pixels of the window's answer area"),
                  std::string::npos)
            << shown;
        EXPECT_NE(shown.find(": warning: Intro/S0/2/Q: the translated question is 434 pixels "
                             "wide, more than the 428 of the window's question line: the window "
                             "cuts it off [text-cut-off]"),
                  std::string::npos)
            << shown;
    }
}

TEST(Strings, RefusesUnsoundEntriesAndWritesNothing) {
    // smallScript's texts: TITLE "Small", Intro/S0/1/A "Hello.", Intro/S0/2/Q "Bye.".
    struct Case {
        const char* entry;
        const char* encoding;
        const char* reason;
    };
    const Case cases[] = {
        {R"(msgctxt "Intro/S0/1/A" msgid "Hello." msgstr "Say \"hi\".")", "",
         "Intro/S0/1/A: holds a double quote"},
        {R"(msgctxt "Intro/S0/1/A" msgid "Hello." msgstr "Two\nlines")", "", "holds a line break"},
        {R"(msgctxt "TITLE" msgid "Small" msgstr "A title far longer than the fifty bytes a title holds")",
         "", "takes 53 bytes in utf-8, more than the 50 a title may hold"},
        {R"(msgctxt "Intro/S0/2/Q" msgid "Bye." msgstr "Tschüß → weg")", "windows-1252",
         "holds U+2192, which windows-1252 cannot hold"},
        {"#, fuzzy\n"
         R"(msgctxt "Intro/S0/2/Q" msgid "Bye." msgstr "Tschüs.")",
         "", "Intro/S0/2/Q: marked fuzzy"},
        {R"(msgctxt "Intro/S0/2/Q" msgid "Goodbye." msgstr "Tschüs.")", "",
         "translates \"Goodbye.\", but the script now says \"Bye.\""},
        {R"(msgctxt "Bob/S0/1/Q" msgid "Hi." msgstr "Hallo.")", "",
         "Bob/S0/1/Q: no such text in the script any more"},
        {R"(msgctxt "Intro/S0/1/A" msgid "Hello." msgstr "Bad \303( title")", "",
         "Intro/S0/1/A: is not valid utf-8"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.entry);
        ScratchFolder folder;
        const std::string script = folder.write("small.chr", murmex::testing::smallScript());
        std::string po = std::regex_replace(test.entry, std::regex(R"( (msgid|msgstr) )"), "\n$1 ");
        const std::string translation = folder.write("de.po", po + "\n");
        const std::string out = folder.path("out.chr");
        const auto run =
            runCommand(runStringsImport, {script, true, translation, test.encoding, out});
        EXPECT_EQ(run.status, EXIT_FAILED);
        EXPECT_NE(run.err.find(test.reason), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"de.po", "small.chr"}));
        // Status refuses exactly what import refuses.
        const auto status =
            runCommand(runStringsStatus, {script, true, translation, test.encoding});
        EXPECT_EQ(status.status, EXIT_FAILED);
        EXPECT_NE(status.out.find(test.reason), std::string::npos) << status.out;
    }
    ScratchFolder folder;
    const std::string script = folder.write("small.chr", murmex::testing::smallScript());
    const std::string po = folder.write("de.po", "");
    const auto run = runCommand(runStringsImport, {script, true, po, "", script});
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_NE(run.err.find("OUT is SCRIPT"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(script), murmex::testing::smallScript());
}

// A script larger than import's bound is refused with the reason, never
// written cut short; one at the bound goes through.
TEST(Strings, ImportRefusesAScriptOverItsBound) {
    ScratchFolder folder;
    const std::string text = murmex::testing::smallScriptOfSize(4096);
    const std::string script = folder.write("small.chr", text);
    const std::string po = folder.write("de.po", "");
    const std::string out = folder.path("out.chr");
    const auto over = runCommand(runStringsImport, {script, true, po, "", out, text.size() - 1});
    EXPECT_EQ(over.status, EXIT_FAILED);
    EXPECT_NE(over.err.find("more than the " + std::to_string(text.size() - 1) + " bytes"),
              std::string::npos)
        << over.err;
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"de.po", "small.chr"}));
    const auto at = runCommand(runStringsImport, {script, true, po, "", out, text.size()});
    EXPECT_EQ(at.status, EXIT_OK) << at.err;
    EXPECT_EQ(readBytes(out), text);
}

// Two characters "A" and one "A~2": the second "A" passes over the taken
// "A~2", and every other id stays as it was.
TEST(Strings, TextIdsNeverCollide) {
    ScratchFolder folder;
    const auto block = [](const std::string& name) {
        return "\"" + name + "\" {\r\n  { S = \"0\" N = \"0\" Q = \"\" A = \"" + name +
               " here.\" ACT = \"ACT_NONE\" }\r\n}";
    };
    const std::string script = folder.write(
        "ids.chr", murmex::testing::scriptWithHeader({"\"Intro\" {",
                                                      "  { S = \"0\" N = \"0\" Q = "
                                                      "\"\" A = \"Hi.\" ACT = \"ACT_NONE\" }",
                                                      "}", block("A"), block("A"), block("A~2")}));
    const auto exported = runCommand(runStringsExport, {script, true, "csv", "", ""});
    ASSERT_EQ(exported.status, EXIT_OK) << exported.err;
    std::vector<std::string> ids;
    static const std::regex id("^([^,\n]+/S0/1/A),", std::regex::multiline);
    for (auto it = std::sregex_iterator(exported.out.begin(), exported.out.end(), id);
         it != std::sregex_iterator(); ++it) {
        ids.push_back((*it)[1]);
    }
    EXPECT_EQ(ids,
              (std::vector<std::string>{"Intro/S0/1/A", "A/S0/1/A", "A~3/S0/1/A", "A~2/S0/1/A"}));
}

// The voice-over script: the lines a player can be shown under the ids a
// game gives them, each answer with the question that leads to it.
TEST(Strings, VoiceScriptListsEveryLineAPlayerCanBeShown) {
    ScratchFolder folder;
    const std::string script = folder.write("play.chr", murmex::testing::playScript());
    const std::string out = folder.path("lines.csv");
    StringsExportOptions options{script, true, "po", "", out};
    options.voice = true;
    ASSERT_EQ(runCommand(runStringsExport, options).status, EXIT_OK);
    const std::string lines = readBytes(out);
    EXPECT_EQ(lines.substr(0, lines.find("\r\n")), "id,character,text,question,notes");
    EXPECT_EQ(lines.find("TITLE"), std::string::npos);
    EXPECT_NE(lines.find("\r\nIntro/S0/1/A,Intro,\"Hello there, fish & chips.\",,"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("\r\nIntro/S0/2/A,Intro,Counted.,Count,"), std::string::npos) << lines;
    // A studio's copy is not replaced unasked.
    const auto refused = runCommand(runStringsExport, options);
    EXPECT_EQ(refused.status, EXIT_FAILED);
    EXPECT_NE(refused.err.find("--overwrite"), std::string::npos) << refused.err;
}

// Only a carriage return ends the first line: a header right after it loads,
// so its texts are found and translated like any other script's.
TEST(Strings, HeaderRightAfterTheFirstLinesCarriageReturn) {
    ScratchFolder folder;
    std::string text = murmex::testing::smallScript();
    text.erase(text.find("\r\n") + 1, 1);
    const std::string script = folder.write("small.chr", text);
    const auto exported = runCommand(runStringsExport, {script, true, "po", "", ""});
    ASSERT_EQ(exported.status, EXIT_OK) << exported.err;
    EXPECT_NE(exported.out.find("msgid \"Small\""), std::string::npos) << exported.out;
    const std::string po = folder.write("de.po", translatedAsSource(exported.out, false));
    const std::string out = folder.path("out.chr");
    const auto imported = runCommand(runStringsImport, {script, true, po, "", out});
    ASSERT_EQ(imported.status, EXIT_OK) << imported.err;
    EXPECT_EQ(readBytes(out), text);
}

TEST(Strings, WindowsScriptIsTranslatedInWindows1252) {
    ScratchFolder folder;
    std::string text = murmex::testing::smallScript();
    text.replace(text.find("Hello."), 6, "Caf\xE9?");
    const std::string script = folder.write("small.chr", text);
    const auto exported = runCommand(runStringsExport, {script, true, "po", "", ""});
    EXPECT_NE(exported.out.find("msgid \"Caf\xC3\xA9?\""), std::string::npos) << exported.out;
    const std::string po = folder.write(
        "de.po", "msgctxt \"Intro/S0/1/A\"\nmsgid \"Caf\xC3\xA9?\"\nmsgstr \"Gr\xC3\xBC\xC3\x9F "
                 "Gott \xE2\x80\x94 Kaffee?\"\n");
    const std::string out = folder.path("out.chr");
    const auto run = runCommand(runStringsImport, {script, true, po, "", out});
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    std::string expected = text;
    expected.replace(expected.find("Caf\xE9?"), 5, "Gr\xFC\xDF Gott \x97 Kaffee?");
    EXPECT_EQ(readBytes(out), expected);
    EXPECT_NE(run.out.find("1 translated, 2 missing"), std::string::npos) << run.out;
}

} // namespace
