// The real conversation window under the offscreen platform: it loads a
// script from the working folder, reacts to real mouse events, and reports
// failures in a message box before ending its run.
#include "player/qt/player_window.h"
#include "window/dialog_templates.h"
#include "window/text_fit.h"
#include "window/text_font.h"

#include "player/player_script.h"
#include "support/scratch_folder.h"
#include "support/window_edge_texts.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kestrine::qt {
namespace {

using murmex::testing::ScratchFolder;
using testing::playerScript;

const std::string MILL = playerScript(R"(
"Intro" {
  { S = "0" N = "0" Q = "" A = "Welcome." ACT = "ACT_NONE" }
  { S = "0" N = "1" Q = "Who are you?" A = "I keep this mill." ACT = "ACT_ADD_MEM" PARAM = "met" VAL = "1" }
  { S = "0" N = "0" Q = "Smith, please." A = "-" ACT = "ACT_COMM" PARAM = "Smith" }
  { S = "0" N = "1" Q = "Tell me &more." A = "More & more." ACT = "ACT_NONE" }
  { S = "1" N = "-1" Q = "Goodbye." A = "Farewell." ACT = "ACT_NONE" }
}
"Smith" {
  { S = "0" N = "0" Q = "" A = "The forge is hot." ACT = "ACT_NONE" }
  { S = "0" N = "-1" Q = "Back." A = "Go on." ACT = "ACT_NONE" }
}
)");

// Runs in the folder that holds data.chr, as the player does.
class PlayerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { previousFolder = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    void useScript(const std::string& script) {
        folder.write("data.chr", script);
        QDir::setCurrent(QString::fromStdString(folder.folder().string()));
    }

    std::unique_ptr<PlayerWindow> openPlain() {
        auto window = std::make_unique<PlayerWindow>();
        window->logic().engine.disableDescramble();
        window->initialise();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static QString textOf(PlayerWindow& window, int32_t controlId) {
        return window.staticText(controlId)->text();
    }

    static void clickLine(PlayerWindow& window, int32_t line) {
        QWidget* control = window.controls().at(window.logic().questionControlIds[line]);
        const QPoint point = control->geometry().topLeft() + QPoint(200, 3);
        // Qt drops a move to where the pointer already is, as after a click
        // on the same line in an earlier window: come from elsewhere.
        QTest::mouseMove(&window, QPoint(1, 1));
        QTest::mouseMove(&window, point);
        QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, point);
    }

    // Answers the next message box with OK and keeps its caption and text.
    void expectMessageBox() {
        QTimer::singleShot(0, [this] { dismissMessageBox(); });
    }
    void dismissMessageBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            QTimer::singleShot(10, [this] { dismissMessageBox(); });
            return;
        }
        messageCaption = box->windowTitle();
        messageText = box->text();
        messageButtons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    }

    // Calls endRun() once a box or menu is open over the window; if the run
    // has not ended a few seconds later, fails and closes what is left.
    static void endWhenSomethingIsOpenOver(PlayerWindow& window) {
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
            QWidget* modal = QApplication::activeModalWidget();
            if (QApplication::activePopupWidget() != nullptr ||
                (modal != nullptr && modal != &window)) {
                poll->stop();
                window.endRun();
            }
        });
        poll->start(10);
        QTimer::singleShot(5000, &window, [&window] {
            ADD_FAILURE() << "the run did not end";
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                widget->close();
            }
            window.done(0);
        });
    }

    ScratchFolder folder;
    QString previousFolder;
    QString messageCaption;
    QString messageText;
    qsizetype messageButtons = 0;
};

TEST_F(PlayerWindowTest, ShowsIntroAndAppliesTheClickedLine) {
    useScript(MILL);
    auto window = openPlain();
    EXPECT_EQ(window->windowTitle(), "Test Title");
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "Welcome.");
    EXPECT_EQ(textOf(*window, 1009), "Tell me &more.");
    EXPECT_EQ(textOf(*window, 1010), "");

    clickLine(*window, 2); // the third line
    EXPECT_EQ(window->logic().hoveredQuestion, 2);
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "More & more.");
    EXPECT_EQ(textOf(*window, 1002), "Goodbye.");
    EXPECT_EQ(textOf(*window, 1008), "");
}

TEST_F(PlayerWindowTest, SwitchAndEndOfConversation) {
    useScript(MILL);
    auto window = openPlain();
    clickLine(*window, 1);
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "The forge is hot.");
    EXPECT_EQ(textOf(*window, 1002), "Back.");
    clickLine(*window, 0);
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "Welcome.");
    EXPECT_EQ(window->exitCode(), 0);
}

TEST_F(PlayerWindowTest, HoverIsTrackedOnlyOverTheLines) {
    useScript(MILL);
    auto window = openPlain();
    QWidget* line0 = window->controls().at(1002);
    QTest::mouseMove(window.get(), line0->geometry().topLeft());
    EXPECT_EQ(window->logic().hoveredQuestion, 0);
    QTest::mouseMove(window.get(), line0->geometry().bottomLeft() + QPoint(0, 2));
    EXPECT_EQ(window->logic().hoveredQuestion, -1);
    // Over the button the window hears nothing: the hover stays as it was.
    QTest::mouseMove(window.get(), line0->geometry().topLeft());
    QTest::mouseMove(window->button(CONTROL_CANCEL), QPoint(5, 5));
    EXPECT_EQ(window->logic().hoveredQuestion, 0);
}

TEST_F(PlayerWindowTest, MissingScriptShowsLoadErrorAndEndsTheRunWithMinusOne) {
    QDir::setCurrent(QString::fromStdString(folder.folder().string()));
    PlayerWindow window;
    expectMessageBox();
    EXPECT_EQ(window.run(), -1);
    EXPECT_EQ(messageText, "Err=-1\nLine=1\nErrStr=");
    EXPECT_EQ(messageCaption, applicationName());
    EXPECT_EQ(messageButtons, 1);
}

TEST_F(PlayerWindowTest, FailedQuestionShowsTheEngineTextAndEndsTheRun) {
    useScript(playerScript(R"(
"Intro" {
  { S = "0" N = "0" Q = "" A = "Welcome." ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "Forget." A = "x" ACT = "ACT_SUB_MEM" PARAM = "never" }
})"));
    auto window = openPlain();
    expectMessageBox();
    clickLine(*window, 0);
    EXPECT_EQ(messageText, "Can't apply question!");
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "Welcome.");
    QTest::qWait(20);
    EXPECT_EQ(window->exitCode(), -1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PlayerWindowTest, CaptionHoldsAFiftyCharacterTitle) {
    const std::string title(50, 'W');
    useScript(playerScript(R"("Intro" { { S = "0" N = "0" Q = "" A = "a" ACT = "ACT_NONE" }
                                            { S = "0" N = "0" Q = "q" A = "a" ACT = "ACT_NONE" } })",
                           title));
    auto window = openPlain();
    EXPECT_EQ(window->windowTitle().toStdString(), title);
}

TEST_F(PlayerWindowTest, EscapeClosesAndTheOkCommandDoesNot) {
    useScript(MILL);
    auto window = openPlain();
    window->accept();
    EXPECT_TRUE(window->isVisible());
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(window->button(CONTROL_CANCEL), enter);
        EXPECT_TRUE(window->isVisible());
    }
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->exitCode(), 0);
}

// Keys go where the player's keys go: to the focused button, whose presses
// the window sees first.
TEST_F(PlayerWindowTest, KeysChooseByDigitMnemonicAndHighlight) {
    struct Case {
        const char* what;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        const char* answer;
    };
    const Case cases[] = {
        {"digit", {{Qt::Key_1, Qt::NoModifier}}, "I keep this mill."},
        {"keypad digit", {{Qt::Key_2, Qt::KeypadModifier}}, "The forge is hot."},
        {"digit for an empty line", {{Qt::Key_4, Qt::NoModifier}}, "Welcome."},
        {"mnemonic", {{Qt::Key_M, Qt::NoModifier}}, "More & more."},
        {"Alt and mnemonic", {{Qt::Key_M, Qt::AltModifier}}, "More & more."},
        {"letter without mark", {{Qt::Key_W, Qt::NoModifier}}, "Welcome."},
        {"Down Down Space",
         {{Qt::Key_Down, Qt::NoModifier},
          {Qt::Key_Down, Qt::NoModifier},
          {Qt::Key_Space, Qt::NoModifier}},
         "The forge is hot."},
        {"Up Space",
         {{Qt::Key_Up, Qt::NoModifier}, {Qt::Key_Space, Qt::NoModifier}},
         "More & more."},
    };
    useScript(MILL);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        auto window = openPlain();
        QWidget* focused = window->button(CONTROL_CANCEL);
        for (const auto& [key, modifiers] : test.keys) {
            QTest::keyClick(focused, key, modifiers);
        }
        EXPECT_EQ(textOf(*window, CONTROL_ANSWER), test.answer);
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(PlayerWindowTest, ScreenReadersReadTheAnswerAndTheOfferedQuestions) {
    useScript(MILL);
    auto window = openPlain();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_EQ(view->childCount(), 3); // Koniec, the answer, the list of questions
    QAccessibleInterface* answer = QAccessible::queryAccessibleInterface(window->staticText(1001));
    EXPECT_EQ(answer->text(QAccessible::Name), "Welcome.");
    QAccessibleInterface* questions = view->child(2);
    ASSERT_EQ(questions->childCount(), 3);
    QAccessibleInterface* more = questions->child(2);
    EXPECT_EQ(more->text(QAccessible::Name), "Tell me more.");
    EXPECT_EQ(more->textInterface()->text(0, 4), "Tell");
    EXPECT_EQ(more->text(QAccessible::Description), "3 of 3");
    EXPECT_EQ(more->parent(), questions);
    more->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(20);
    EXPECT_EQ(answer->text(QAccessible::Name), "More  more."); // as drawn: '&' marks the blank
    EXPECT_EQ(questions->childCount(), 1);
}

TEST_F(PlayerWindowTest, LayoutInDialogUnitsAndTheAboutEntry) {
    useScript(MILL);
    auto window = openPlain();
    EXPECT_EQ(window->size(), QSize(446, 302));
    EXPECT_EQ(window->controls().at(CONTROL_ANSWER)->geometry(), QRect(8, 8, 428, 130));
    EXPECT_EQ(window->controls().at(1008)->geometry(), QRect(8, 172, 428, 16));
    ASSERT_EQ(window->commandEntries().size(), 1u);
    EXPECT_EQ(window->commandEntries()[0].first, "&About Kestrine...");
    EXPECT_EQ(window->button(CONTROL_CANCEL)->text(), "Koniec");
    EXPECT_EQ(window->button(CONTROL_CANCEL)->focusPolicy(), Qt::StrongFocus);
}

// The window's cell is 14 pixels high, ascent and descent, as the platform
// gives it for a font height of 14.
TEST_F(PlayerWindowTest, TextFontHasTheCellAskedFor) {
    useScript(MILL);
    auto window = openPlain();
    const QFontMetrics metrics(window->staticText(CONTROL_ANSWER)->font());
    EXPECT_EQ(metrics.ascent() + metrics.descent(), TEXT_FONT.cellHeight);
}

// The measure of what fits against the widget that draws it, on texts a few
// pixels either side of the edge.
TEST_F(PlayerWindowTest, TheWindowCutsOffWhatTheMeasureSaysItCuts) {
    useScript(MILL);
    auto window = openPlain();
    StaticTextControl* question = window->staticText(CONTROL_QUESTION_0);
    StaticTextControl* answer = window->staticText(CONTROL_ANSWER);
    const QFontInfo face(question->font());
    if (!face.family().startsWith(QStringLiteral("Liberation Sans")) || !face.bold()) {
        GTEST_SKIP() << "Arial resolves to " << face.family().toStdString()
                     << ": install fonts-liberation";
    }
    const auto windowCuts = [&window](StaticTextControl* control, const std::string& text) {
        window->setControlText(control->controlId(), text.c_str());
        return !control->rect().contains(control->textBounds());
    };
    for (const char* sentence : murmex::testing::EDGE_SENTENCES) {
        const murmex::testing::EdgeTexts questions = murmex::testing::questionEdge(sentence);
        EXPECT_FALSE(windowCuts(question, questions.fits)) << questions.fits;
        EXPECT_TRUE(windowCuts(question, questions.cut)) << questions.cut;
        const murmex::testing::EdgeTexts answers = murmex::testing::answerEdge(sentence);
        EXPECT_FALSE(windowCuts(answer, answers.fits)) << answers.fits;
        EXPECT_TRUE(windowCuts(answer, answers.cut)) << answers.cut;
    }
}

TEST_F(PlayerWindowTest, AboutCommandRunsTheAboutBoxModally) {
    useScript(MILL);
    auto window = openPlain();
    QString caption;
    QTimer::singleShot(0, [&caption] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        caption = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Return); // the default button, OK
    });
    EXPECT_TRUE(window->logic().systemCommand(ABOUT_COMMAND + 3));
    EXPECT_EQ(caption, "About Kestrine");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(textOf(*window, CONTROL_ANSWER), "Welcome.");
}

// Asked to end from outside (by a signal, in the player), the window closes
// whatever is open over it, however deep, and ends the run with the status
// the run would have had; no further box opens.
TEST_F(PlayerWindowTest, EndRunClosesWhatIsOpenAndKeepsTheRunsStatus) {
    const std::string failing = playerScript(R"(
"Intro" {
  { S = "0" N = "0" Q = "" A = "Welcome." ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "Forget." A = "x" ACT = "ACT_SUB_MEM" PARAM = "never" }
})");
    struct Case {
        const char* what;
        const std::string& script;
        std::function<void(PlayerWindow&)> open;
        int status;
    };
    const Case cases[] = {
        {"About box", MILL, [](PlayerWindow& w) { w.logic().systemCommand(ABOUT_COMMAND); }, 0},
        {"context menu", MILL,
         [](PlayerWindow& w) {
             QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    w.mapToGlobal(QPoint(5, 5)));
             QApplication::sendEvent(&w, &menu);
         },
         0},
        {"error box", failing, [](PlayerWindow& w) { clickLine(w, 0); }, -1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        useScript(test.script);
        PlayerWindow window;
        window.logic().engine.disableDescramble();
        QTimer::singleShot(0, &window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            test.open(window);
        });
        endWhenSomethingIsOpenOver(window);
        EXPECT_EQ(window.run(), test.status);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_FALSE(window.isVisible());
    }
}

} // namespace
} // namespace kestrine::qt
