// murmex publish: the page's template filled once and safely, and the
// command's refusals, against a stand-in web build in a scratch folder.
#include "tools/cli/publish_command.h"

#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"
#include "tools/authoring/web_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::readBytes;
using murmex::testing::ScratchFolder;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;
using murmex::tool::PublishOptions;
using murmex::tool::runPublish;
using murmex::tool::WebPageParts;
using murmex::tool::WebPageSettings;

// A stand-in for the web build: every part names itself.
void writeWebBuild(ScratchFolder& folder) {
    std::filesystem::create_directories(folder.path("web"));
    folder.write("web/page.html", "<title>@TITLE@</title>@STYLE@|@API@|@PAGE@|@ENGINE@|@SCRIPT@|"
                                  "@ID@|@PLAIN@@AUTOSAVE@|@LANGUAGE@|@ABOUT@|@LABELS@");
    folder.write("web/page.css", "css");
    folder.write("web/murmex.js", "api");
    folder.write("web/page.js", "page");
    folder.write("web/murmex.wasm", std::string("\0asm", 4));
}

TEST(WebPage, FillsEachPlaceholderOnceWithTextsEscapedAndBytesInBase64) {
    const WebPageParts parts{"@TITLE@ @ID@ @ENGINE@ @SCRIPT@ @NOPE@ a@b", "", "", "", "\xff\x01"};
    WebPageSettings settings;
    settings.title = "<img src=x onerror=alert(1)> & \"@ID@\"";
    settings.id = "it's";
    EXPECT_EQ(webPage(parts, settings, "Man"),
              "&lt;img src=x onerror=alert(1)&gt; &amp; &quot;@ID@&quot; it&#39;s /wE= TWFu "
              "@NOPE@ a@b");
}

TEST(WebPage, Base64PadsTheLastGroup) {
    const WebPageParts parts{"@SCRIPT@", "", "", "", ""};
    for (const auto& [bytes, encoded] : {std::pair{"", ""},
                                         {"M", "TQ=="},
                                         {"Ma", "TWE="},
                                         {"Man", "TWFu"},
                                         {"Many", "TWFueQ=="}}) {
        EXPECT_EQ(webPage(parts, {}, bytes), encoded) << bytes;
    }
}

TEST(WebPage, CodeThatClosesItsScriptElementDoesNotFit) {
    EXPECT_TRUE(murmex::tool::fitsInScriptElement("a < b && c > d"));
    EXPECT_FALSE(murmex::tool::fitsInScriptElement("x = '</SCRIPT>'"));
}

class Publish : public ::testing::Test {
  protected:
    CommandRun publish(const std::string& script) {
        options.file = folder.write("script.chr.txt", script);
        options.output = folder.path("game.html");
        options.plain = true;
        options.webFolders = {folder.path("missing"), folder.path("web")};
        return murmex::testing::runCommand(runPublish, options);
    }

    ScratchFolder folder;
    PublishOptions options;
};

TEST_F(Publish, WritesThePageWithTheScriptsTitleAndTheSettings) {
    writeWebBuild(folder);
    options.language = "de";
    const CommandRun run = publish(murmex::testing::smallScript());
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    const std::string page = readBytes(options.output);
    EXPECT_EQ(page.find("<title>Small</title>css|api|page|AGFzbQ==|"), 0u) << page;
    EXPECT_NE(page.find("|Small|11|de|Kestrine Version 1.0 · Murmex conversation player"),
              std::string::npos)
        << page;
}

// The page's own texts in its language, chosen by the primary subtag, under
// those a labels file gives; English where the tool has no such language.
TEST_F(Publish, WritesTheLabelsOfItsLanguageUnderTheLabelsFile) {
    writeWebBuild(folder);
    struct LabelCase {
        const char* language;
        const char* labels;
        const char* written;
        bool noted;
    };
    const LabelCase cases[] = {
        {"fr-CA", "", R"("restart":"Recommencer","save":"Enregistrer dans un fichier")", false},
        {"tlh", "", R"("restart":"Restart","save":"Save to file")", true},
        {"FR", R"({"save": "Garder </script><!--"})",
         R"("restart":"Recommencer","save":"Garder \u003c/script>\u003c!--")", false},
    };
    for (const LabelCase& testCase : cases) {
        options.language = testCase.language;
        options.labelsFile = testCase.labels[0] == 0 ? "" : folder.write("l.json", testCase.labels);
        const CommandRun run = publish(murmex::testing::smallScript());
        ASSERT_EQ(run.status, EXIT_OK) << run.err;
        EXPECT_NE(readBytes(options.output).find(testCase.written), std::string::npos)
            << testCase.language;
        EXPECT_EQ(run.err.find("English") != std::string::npos, testCase.noted) << run.err;
    }
}

TEST_F(Publish, RefusesALabelsFileThatHoldsWhatIsNoLabel) {
    writeWebBuild(folder);
    for (const auto& [labels, said] : {std::pair{R"({"restart": "Again", "nope": "x"})",
                                                 "the page has no label \"nope\"; its labels are "
                                                 "restart, save, load, questions,"},
                                       {R"({"restart": 1})", "\"restart\" is a number, not a text"},
                                       {R"(["restart"])", "not a JSON object"},
                                       {"{", "not JSON"}}) {
        options.labelsFile = folder.write("labels.json", labels);
        const CommandRun run = publish(murmex::testing::smallScript());
        EXPECT_EQ(run.status, murmex::tool::EXIT_USAGE) << labels;
        EXPECT_NE(run.err.find(options.labelsFile + ": "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(options.output));
    }
}

TEST_F(Publish, RefusesABrokenScriptUnlessAllowed) {
    writeWebBuild(folder);
    const std::string broken = "MurmexSrcFile\r\nTITLE = \"x\"\r\nCOLOR = \"1\"\r\n";
    const CommandRun refused = publish(broken);
    EXPECT_EQ(refused.status, EXIT_FAILED);
    EXPECT_NE(refused.err.find("error -3"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(options.output));
    options.allowBroken = true;
    EXPECT_EQ(publish(broken).status, EXIT_OK);
    EXPECT_TRUE(std::filesystem::exists(options.output));
}

TEST_F(Publish, SaysHowToBuildTheWebEngineWhenItIsMissing) {
    const CommandRun run = publish(murmex::testing::smallScript());
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_NE(run.err.find("make web"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(folder.path("missing")), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(options.output));
}

} // namespace
