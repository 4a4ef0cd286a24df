// The preview window under the offscreen platform: keys and the panel play,
// undo, jump and change variables; saves to the script reload it and replay
// the path, or say where it stopped fitting; a broken save shows its errors
// in the window until the next save mends it; the panel says when no goal can
// be met any more.
#include "tools/preview/preview_window.h"

#include "player/player_script.h"
#include "support/scratch_folder.h"
#include "window/dialog_templates.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace murmex::tool {
namespace {

using kestrine::testing::playerScript;
using murmex::testing::ScratchFolder;

// The units stand on lines 6 to 11; "Drop the coin." on line 10.
const std::string SQUARE = playerScript(R"("Intro" {
  { S = "0" N = "0" Q = "" A = "Square." ACT = "ACT_NONE" }
  { S = "0" N = "1" Q = "Look around." A = "A quiet square." ACT = "ACT_ADD_MEM" PARAM = "looked" VAL = "1" }
  { S = "0" N = "0" Q = "See the smith." A = "-" ACT = "ACT_COMM" PARAM = "Smith" }
  { S = "1" N = "1" Q = "Wait." A = "Nothing happens." ACT = "ACT_ADD_MONEY" PARAM = "coins" VAL = "2" }
  { S = "1" N = "1" Q = "Drop the coin." A = "Gone." ACT = "ACT_SUB_MEM" PARAM = "coin" }
  { S = "1" N = "0" Q = "Use the key." A = "The door opens." ACT = "ACT_NONE" { ID = "key" OP = "==" VAL = "1" } }
}
"Smith" {
  { S = "0" N = "0" Q = "" A = "The forge is hot." ACT = "ACT_NONE" }
  { S = "0" N = "-1" Q = "Leave." A = "Bye." ACT = "ACT_NONE" }
}
)");

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class PreviewWindowTest : public ::testing::Test {
  protected:
    PreviewWindow& open(const std::string& script, std::vector<int32_t> choices = {},
                        std::vector<std::string> goals = {}) {
        path = folder.write("square.chr", script);
        window = std::make_unique<PreviewWindow>(
            PreviewOptions{path, true, START_CHARACTER, std::move(choices), std::move(goals)});
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    // Saves the script as an editor that writes a new file and renames it
    // over the old one, and waits for the reload.
    void save(const std::string& script) {
        const int loads = window->loads();
        std::filesystem::rename(folder.write("square.chr.new", script), path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->loads() > loads; }, 5000));
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window->conversation(), key, modifiers);
    }

    QString answer() { return window->conversation().staticText(kestrine::CONTROL_ANSWER)->text(); }
    QString status() { return window->panel().statusText()->toPlainText(); }
    int pathSteps() { return window->panel().pathList()->count() - 1; }

    void setVariable(const QString& name, int value) {
        window->panel().variableName()->setText(name);
        window->panel().variableValue()->setValue(value);
        window->panel().setButton()->click();
    }

    ScratchFolder folder;
    std::string path;
    std::unique_ptr<PreviewWindow> window;
};

TEST_F(PreviewWindowTest, KeysPlayAPathAndBackspaceUndoesItStepByStep) {
    open(SQUARE);
    press(Qt::Key_1);
    press(Qt::Key_1);
    EXPECT_EQ(answer(), "Nothing happens.");
    EXPECT_EQ(window->panel().characterLabel()->text(), "Intro, state 1");
    EXPECT_EQ(window->session().engine().memory.money, 2);
    ASSERT_EQ(pathSteps(), 2);
    EXPECT_EQ(window->panel().pathList()->item(1)->text(), "1. Look around.");
    EXPECT_EQ(window->panel().variableTable()->item(0, 0)->text(), "looked");

    press(Qt::Key_Backspace);
    EXPECT_EQ(answer(), "A quiet square.");
    EXPECT_EQ(window->session().engine().memory.money, 0);
    press(Qt::Key_Backspace);
    EXPECT_EQ(answer(), "Square.");
    EXPECT_EQ(window->panel().variableTable()->rowCount(), 0);
    press(Qt::Key_Backspace);
    EXPECT_EQ(pathSteps(), 0);
}

TEST_F(PreviewWindowTest, JumpsToACharacterAndCtrlRStartsItAgain) {
    open(SQUARE);
    press(Qt::Key_1);
    window->panel().characterList()->setCurrentText("Smith");
    window->panel().restartButton()->click();
    EXPECT_EQ(answer(), "The forge is hot.");
    EXPECT_EQ(pathSteps(), 0);
    press(Qt::Key_1);
    EXPECT_EQ(answer(), "Square.");
    press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(answer(), "The forge is hot.");
    EXPECT_EQ(window->panel().pathList()->item(0)->text(), "start Smith");
}

TEST_F(PreviewWindowTest, AVariableSetByHandOpensABranchAndIsUndoneLikeAStep) {
    open(SQUARE, {1});
    EXPECT_EQ(answer(), "A quiet square.");
    setVariable("key", 1);
    EXPECT_EQ(window->session().view().questionCount, 3);
    press(Qt::Key_3);
    EXPECT_EQ(answer(), "The door opens.");
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(window->session().view().questionCount, 2);
}

TEST_F(PreviewWindowTest, AFailedStepNamesItsUnitAndCanBeUndone) {
    open(SQUARE, {1, 2});
    EXPECT_EQ(status(), "Failed: Can't apply question!\n"
                        "Intro (state 1), question \"Drop the coin.\", unit at line 10\n"
                        "Cause: the unit removes the variable \"coin\", which does not exist");
    press(Qt::Key_1);
    EXPECT_EQ(pathSteps(), 2);
    press(Qt::Key_Backspace);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(answer(), "A quiet square.");
}

// Each save changes the script under a path of Look around, Wait, Wait.
struct SaveCase {
    const char* name;
    const char* from;
    const char* to;
    int stepsKept;
    const char* answer;
    const char* status;
};

const SaveCase SAVES[] = {
    {"AnswerEdited", "Nothing happens.", "Still nothing.", 3, "Still nothing.", ""},
    {"QuestionGone", "Q = \"Wait.\"", "Q = \"Sit.\"", 1, "A quiet square.",
     "Step 2 (\"Wait.\") no longer fits: Intro in state 1 does not offer it."},
    {"QuestionHidden", "\"coins\" VAL = \"2\" }",
     "\"coins\" VAL = \"2\" { ID = \"looked\" OP = \"!=\" VAL = \"1\" } }", 1, "A quiet square.",
     "Step 2 (\"Wait.\") no longer fits: Intro in state 1 does not offer it."},
};

// Names the case in the test's name instead of dumping its bytes.
void PrintTo(const SaveCase& save, std::ostream* out) {
    *out << save.name;
}

class PreviewReloadTest : public PreviewWindowTest,
                          public ::testing::WithParamInterface<SaveCase> {};

TEST_P(PreviewReloadTest, ReplaysThePathUpToTheFirstStepThatNoLongerFits) {
    const SaveCase& edit = GetParam();
    open(SQUARE, {1, 1, 1});
    save(replaced(SQUARE, edit.from, edit.to));
    EXPECT_EQ(pathSteps(), edit.stepsKept);
    EXPECT_EQ(answer(), edit.answer);
    EXPECT_EQ(status(), edit.status);
    // Saved as it was, the whole path is back.
    save(SQUARE);
    EXPECT_EQ(pathSteps(), 3);
}

INSTANTIATE_TEST_SUITE_P(Saves, PreviewReloadTest, ::testing::ValuesIn(SAVES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewWindowTest, ABrokenSaveShowsItsErrorsInTheWindowUntilTheNextSaveMendsIt) {
    open(SQUARE, {1});
    save(replaced(SQUARE, "\"Smith\" {", "\"Smith\""));
    const QString errors = window->loadErrors().toPlainText();
    EXPECT_TRUE(window->loadErrors().isVisible());
    EXPECT_TRUE(errors.contains("square.chr:15: error -3: Syntax error")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("> 15 |")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("note:")) << errors.toStdString();
    // Long notes wrap within the panel instead of running off its edge.
    QApplication::processEvents();
    EXPECT_EQ(window->loadErrors().horizontalScrollBar()->maximum(), 0);

    save(SQUARE);
    EXPECT_TRUE(window->conversation().isVisible());
    EXPECT_EQ(answer(), "A quiet square.");
    EXPECT_EQ(pathSteps(), 1);
}

// Once Intro leaves state 0 only the key leads back to the smith.
TEST_F(PreviewWindowTest, ThePanelSaysWhenNoGoalCanBeMetAnyMore) {
    open(SQUARE, {}, {"character Smith"});
    QLabel* goal = window->panel().goalLabel();
    EXPECT_EQ(goal->text(), "A goal can still be met from here.");
    press(Qt::Key_1);
    EXPECT_EQ(goal->text(), "Lost: no goal can be met from here any more.");
    setVariable("key", 1);
    EXPECT_EQ(goal->text(), "A goal can still be met from here.");
    EXPECT_EQ(answer(), "A quiet square.");
}

} // namespace
} // namespace murmex::tool
