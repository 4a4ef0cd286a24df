// The conversation window's logic against a fake platform: start-up, hover
// tracking, applying questions, colours and the About command. No toolkit
// header is included here.
#include "player/player_dialog.h"
#include "window/dialog_templates.h"

#include "player/fake_platform.h"
#include "player/player_script.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kestrine {
namespace {

using murmex::testing::ScratchFolder;
using testing::FakePlatform;
using testing::playerScript;

const std::string MILL = playerScript(R"(
"Intro" {
  { S = "0" N = "0" Q = "" A = "Welcome." ACT = "ACT_NONE" }
  { S = "0" N = "1" Q = "Who are you?" A = "I keep this mill." ACT = "ACT_ADD_MEM" PARAM = "met" VAL = "1" }
  { S = "0" N = "0" Q = "Smith, please." A = "-" ACT = "ACT_COMM" PARAM = "Smith" }
  { S = "0" N = "0" Q = "Nobody, please." A = "-" ACT = "ACT_COMM" PARAM = "Nobody" }
  { S = "0" N = "0" Q = "Forget it." A = "x" ACT = "ACT_SUB_MEM" PARAM = "never" }
  { S = "1" N = "-1" Q = "Goodbye." A = "Farewell." ACT = "ACT_NONE" }
}
"Smith" {
  { S = "0" N = "0" Q = "" A = "The forge is hot." ACT = "ACT_NONE" }
  { S = "0" N = "-1" Q = "Back." A = "Go on." ACT = "ACT_ADD_MONEY" PARAM = "coins" VAL = "5" }
}
)");

// A dialog over a plain script written to a temporary folder.
class PlayerDialogTest : public ::testing::Test {
  protected:
    void initialise(const std::string& script) {
        const std::string file = folder.write("data.chr", script);
        fileName = file;
        dialog = std::make_unique<PlayerDialog>(platform, fileName.c_str());
        dialog->engine.disableDescramble();
        EXPECT_TRUE(dialog->initialise());
    }
    void hover(int32_t x, int32_t y) {
        platform.pointer = ScreenPoint{x, y};
        dialog->mouseMoved();
    }
    void click(int32_t line) {
        const ScreenRect rect = platform.rects[dialog->questionControlIds[line]];
        hover(rect.left, rect.top);
        dialog->leftButtonReleased();
    }
    std::string answerShown() { return platform.texts[CONTROL_ANSWER]; }
    std::string lineShown(int32_t line) { return platform.texts[dialog->questionControlIds[line]]; }

    ScratchFolder folder;
    FakePlatform platform;
    std::string fileName;
    std::unique_ptr<PlayerDialog> dialog;
};

TEST_F(PlayerDialogTest, StartShowsIntroWithCaptionColoursAndAboutEntry) {
    initialise(MILL);
    EXPECT_EQ(answerShown(), "Welcome.");
    EXPECT_EQ(lineShown(0), "Who are you?");
    EXPECT_EQ(lineShown(3), "Forget it.");
    EXPECT_EQ(lineShown(4), "");
    EXPECT_EQ(platform.caption, "Test Title");
    ASSERT_EQ(platform.commandEntries.size(), 1u);
    EXPECT_EQ(platform.commandEntries[0].first, "&About Kestrine...");
    EXPECT_EQ(platform.commandEntries[0].second, ABOUT_COMMAND);
    EXPECT_EQ(dialog->hoveredQuestion, -1);
    const int32_t expectedIds[] = {1002, 1008, 1009, 1010, 1011};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dialog->questionControlIds[i], expectedIds[i]);
    }
    EXPECT_EQ(dialog->windowBrush, 0x0A0603u);
    EXPECT_EQ(dialog->lineBrush, 0x110B05u);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.quitCodes.empty());
}

TEST_F(PlayerDialogTest, EmptyAboutStringAddsNoEntry) {
    platform.aboutEntryText = "";
    initialise(MILL);
    EXPECT_TRUE(platform.commandEntries.empty());
}

TEST_F(PlayerDialogTest, MissingScriptReportsLoadErrorAndStillSetsCaption) {
    dialog = std::make_unique<PlayerDialog>(platform, "/nonexistent/folder/data.chr");
    EXPECT_TRUE(dialog->initialise());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "Err=-1\nLine=1\nErrStr=");
    EXPECT_EQ(platform.quitCodes, std::vector<int32_t>{-1});
    EXPECT_EQ(platform.caption, "Murmex 1.0");
}

TEST_F(PlayerDialogTest, SyntaxErrorIsShownWithCodeLineAndText) {
    initialise("MurmexSrcFile\r\n\n\n\n\n\nTITLE \"x\"\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "Err=-3\nLine=7\nErrStr=Syntax error: = expected");
    EXPECT_EQ(platform.quitCodes, std::vector<int32_t>{-1});
}

TEST_F(PlayerDialogTest, StartFailuresAreShownAndQuit) {
    struct Case {
        std::string characters;
        std::string message;
    };
    const Case cases[] = {
        {"", "Character not found!"},
        {R"("intro" { { S = "0" N = "0" Q = "" A = "hi" ACT = "ACT_NONE" } })",
         "Character not found!"},
        {R"("Intro" { { S = "0" N = "0" Q = "q" A = "a" ACT = "ACT_NONE" } })",
         "No initial answer found!"},
        {R"("Intro" { { S = "0" N = "0" Q = "" A = "a" ACT = "ACT_NONE" } })",
         "No questions found!"},
    };
    for (const Case& c : cases) {
        platform = FakePlatform();
        initialise(playerScript(c.characters, "Broken"));
        EXPECT_EQ(platform.messages, std::vector<std::string>{c.message}) << c.characters;
        EXPECT_EQ(platform.quitCodes, std::vector<int32_t>{-1});
        EXPECT_EQ(platform.caption, "Broken");
    }
}

TEST_F(PlayerDialogTest, AScriptThatIsNoRegularFileIsRefusedWithoutWaiting) {
    // Opened plainly, a FIFO without a writer would hold the player for ever.
    std::vector<std::string> names = {folder.path("")};
#ifndef _WIN32 // Windows has no FIFOs
    fileName = folder.path("data.chr");
    ASSERT_EQ(::mkfifo(fileName.c_str(), 0600), 0);
    names.push_back(fileName);
#endif
    for (const std::string& name : names) {
        platform = FakePlatform();
        PlayerDialog fifoDialog(platform, name.c_str());
        EXPECT_TRUE(fifoDialog.initialise());
        EXPECT_EQ(platform.messages, std::vector<std::string>{"Err=-1\nLine=1\nErrStr="}) << name;
        EXPECT_EQ(platform.quitCodes, std::vector<int32_t>{-1});
    }
}

TEST_F(PlayerDialogTest, LoadErrorTextFormatsSignedNumbers) {
    EXPECT_EQ(PlayerDialog::loadErrorText(-3, 7, "Syntax error: = expected"),
              "Err=-3\nLine=7\nErrStr=Syntax error: = expected");
    EXPECT_EQ(PlayerDialog::loadErrorText(-5, 12, ""), "Err=-5\nLine=12\nErrStr=");
}

TEST_F(PlayerDialogTest, HoverFollowsThePointerOverWholeLines) {
    initialise(MILL);
    struct Case {
        int32_t x, y;
        int32_t hovered;
    };
    const Case cases[] = {
        {5, 90, 0},                                   // top-left corner is inside
        {289, 99, 0},                                 // far right of a short text still counts
        {290, 95, -1},                                // right edge is outside
        {100, 100, -1},                               // the gap between lines 0 and 1
        {100, 106, 1},  {100, 125, 2}, {100, 159, 4}, // an empty line counts too
        {100, 160, -1},                               // bottom edge is outside
        {2, 92, -1},
    };
    for (const Case& c : cases) {
        hover(c.x, c.y);
        EXPECT_EQ(dialog->hoveredQuestion, c.hovered) << c.x << "," << c.y;
    }
}

TEST_F(PlayerDialogTest, RepaintOnlyWhenTheHoveredLineChanges) {
    initialise(MILL);
    hover(100, 92);
    EXPECT_EQ(platform.invalidations, 1);
    hover(120, 93);
    EXPECT_EQ(platform.invalidations, 1);
    hover(120, 103);
    EXPECT_EQ(platform.invalidations, 2);
}

TEST_F(PlayerDialogTest, LaterMatchingLineWins) {
    initialise(MILL);
    platform.rects[1009] = platform.rects[1002]; // line 2 overlaps line 0
    hover(100, 92);
    EXPECT_EQ(dialog->hoveredQuestion, 2);
}

TEST_F(PlayerDialogTest, ReleaseWithoutAnOfferedLineDoesNothing) {
    initialise(MILL);
    const auto before = platform.texts;
    dialog->leftButtonReleased(); // nothing hovered
    hover(100, 155);              // line 4 is empty: four questions are offered
    dialog->leftButtonReleased();
    EXPECT_EQ(platform.texts, before);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(dialog->engine.memory.lookup("met"), -1);
}

TEST_F(PlayerDialogTest, ApplyShowsTheNewAnswerAndKeepsTheHoveredLine) {
    initialise(MILL);
    click(0);
    EXPECT_EQ(answerShown(), "I keep this mill.");
    EXPECT_EQ(lineShown(0), "Goodbye.");
    EXPECT_EQ(lineShown(1), "");
    EXPECT_EQ(dialog->hoveredQuestion, 0);
    EXPECT_EQ(dialog->engine.memory.valueAt(dialog->engine.memory.lookup("met")), 1);
}

TEST_F(PlayerDialogTest, UpAndDownMoveTheHighlightOverOfferedLinesOnly) {
    initialise(MILL); // four questions offered
    struct Case {
        int32_t from;
        int32_t step;
        int32_t to;
    };
    const Case cases[] = {{-1, 1, 0}, {-1, -1, 3}, {0, 1, 1}, {3, 1, 3}, {0, -1, 0}, {4, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from * 10 + c.step);
        dialog->hoveredQuestion = c.from;
        const int before = platform.invalidations;
        EXPECT_TRUE(dialog->moveHighlight(c.step));
        EXPECT_EQ(dialog->hoveredQuestion, c.to);
        EXPECT_EQ(platform.invalidations, before + (c.from != c.to ? 1 : 0));
    }
    dialog->hoveredQuestion = -1;
    EXPECT_FALSE(dialog->applyHighlighted());
    EXPECT_FALSE(dialog->chooseLine(4));
    EXPECT_EQ(answerShown(), "Welcome.");
    dialog->hoveredQuestion = 1;
    EXPECT_TRUE(dialog->applyHighlighted());
    EXPECT_EQ(answerShown(), "The forge is hot.");
}

TEST_F(PlayerDialogTest, MnemonicLettersChooseInEitherCase) {
    EXPECT_EQ(PlayerDialog::mnemonicLetter("Tell me &more."), U'm');
    EXPECT_EQ(PlayerDialog::mnemonicLetter("Salt && &Pepper"), U'P');
    EXPECT_EQ(PlayerDialog::mnemonicLetter("Salt && pepper&"), 0u);
    EXPECT_EQ(PlayerDialog::mnemonicLetter("\xC4&\xDC"), U'\u00DC'); // Windows-1252
    initialise(playerScript(R"(
"Intro" {
  { S = "0" N = "0" Q = "" A = "Welcome." ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "&Stay." A = "Stayed." ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "&Über den &Fluss." A = "Crossed." ACT = "ACT_NONE" }
})"));
    EXPECT_FALSE(dialog->chooseMnemonic(U'f')); // only the first mark counts
    EXPECT_FALSE(dialog->chooseMnemonic(0));
    EXPECT_EQ(answerShown(), "Welcome.");
    EXPECT_TRUE(dialog->chooseMnemonic(U'\u00FC'));
    EXPECT_EQ(answerShown(), "Crossed.");
    EXPECT_TRUE(dialog->chooseMnemonic(U'S'));
    EXPECT_EQ(answerShown(), "Stayed.");
}

TEST_F(PlayerDialogTest, EndOfConversationRestartsIntroWithoutShowingTheLastAnswer) {
    initialise(MILL);
    click(0);
    click(0); // Goodbye: next state -1
    EXPECT_EQ(answerShown(), "Welcome.");
    EXPECT_EQ(lineShown(0), "Who are you?");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PlayerDialogTest, SwitchStartsTheNamedCharacterAndEndReturnsToIntro) {
    initialise(MILL);
    click(1);
    EXPECT_EQ(answerShown(), "The forge is hot.");
    EXPECT_EQ(lineShown(0), "Back.");
    click(0);
    EXPECT_EQ(answerShown(), "Welcome.");
    EXPECT_EQ(dialog->engine.memory.money, 5);
}

TEST_F(PlayerDialogTest, FailuresShowTheEngineTextQuitAndKeepTheTexts) {
    struct Case {
        int32_t line;
        std::string message;
    };
    const Case cases[] = {{2, "Character not found!"}, {3, "Can't apply question!"}};
    for (const Case& c : cases) {
        platform = FakePlatform();
        initialise(MILL);
        const auto before = platform.texts;
        click(c.line);
        EXPECT_EQ(platform.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(platform.quitCodes, std::vector<int32_t>{-1});
        if (c.line == 3) {
            EXPECT_EQ(platform.texts, before);
        }
    }
}

TEST_F(PlayerDialogTest, ControlColours) {
    initialise(MILL);
    const DerivedColors& colors = dialog->colors;
    EXPECT_EQ(colors.hoverTextColor, 0x1E140Au);
    EXPECT_EQ(colors.questionTextColor, 0x030201u);

    ControlColors answer = dialog->controlColors(CONTROL_ANSWER, CTLCOLOR_STATIC);
    EXPECT_EQ(answer.text, colors.answerTextColor);
    EXPECT_EQ(answer.textBackground, colors.lineColor);
    EXPECT_EQ(answer.brush, colors.lineColor);

    hover(100, 125); // line 2
    EXPECT_EQ(dialog->controlColors(1009, CTLCOLOR_STATIC).text, colors.hoverTextColor);
    EXPECT_EQ(dialog->controlColors(1002, CTLCOLOR_STATIC).text, colors.questionTextColor);
    // Controls that are not static texts get the window's brush.
    EXPECT_EQ(dialog->controlColors(CONTROL_CANCEL, 3).brush, colors.windowColor);
}

TEST_F(PlayerDialogTest, SystemCommandMaskSelectsTheAboutBox) {
    initialise(MILL);
    for (uint32_t id = 16; id <= 31; ++id) {
        EXPECT_TRUE(dialog->systemCommand(id)) << id;
    }
    EXPECT_EQ(platform.aboutBoxes, 16);
    for (uint32_t id : {0u, 15u, 32u, 0xF060u, 0xF010u}) {
        EXPECT_FALSE(dialog->systemCommand(id)) << id;
    }
    EXPECT_EQ(platform.aboutBoxes, 16);
}

} // namespace
} // namespace kestrine
