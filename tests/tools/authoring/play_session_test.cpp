// The play session: texts as the window shows them, what each kind of step
// says it did, the failures that end a game, and finding a question by text.
#include "tools/authoring/play_session.h"

#include "support/sample_scripts.h"
#include "support/scratch_folder.h"
#include "tools/analysis/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using murmex::StepKind;
using murmex::testing::playScript;
using murmex::testing::ScratchFolder;
using murmex::tool::PlaySession;
using murmex::tool::withoutMnemonics;

TEST(ShownText, TakesOutMnemonicMarkers) {
    EXPECT_EQ(withoutMnemonics("Visit the &Smith."), "Visit the Smith.");
    EXPECT_EQ(withoutMnemonics("Fish && chips"), "Fish & chips");
    EXPECT_EQ(withoutMnemonics("&&&x"), "&x");
    EXPECT_EQ(withoutMnemonics("Trailing &"), "Trailing ");
    EXPECT_EQ(withoutMnemonics(""), "");
}

struct StepCase {
    const char* label;
    // Question numbers from 1, as the player types them.
    std::vector<int32_t> choices;
    StepKind kind;
    std::vector<std::string> effects;
    std::string failure;
};

void PrintTo(const StepCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class PlayStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(PlayStep, SaysWhatTheLastChoiceDid) {
    const StepCase& step = GetParam();
    ScratchFolder folder;
    PlaySession session;
    ASSERT_TRUE(session.open(folder.write("script.txt", playScript()), true));
    ASSERT_TRUE(session.start("Intro"));
    murmex::tool::PlayStep last{};
    for (const int32_t choice : step.choices) {
        ASSERT_FALSE(session.failed());
        ASSERT_LE(choice, session.questionCount());
        last = session.choose(choice - 1);
    }
    EXPECT_EQ(last.outcome.kind, step.kind);
    EXPECT_EQ(last.effects, step.effects);
    EXPECT_EQ(session.failed(), !step.failure.empty());
    EXPECT_EQ(session.failureText(), step.failure);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayStep,
    ::testing::Values(StepCase{"SetsAVariable",
                               {1},
                               StepKind::Continued,
                               {"Intro: state 0 -> 1", "set count = 3"},
                               ""},
                      StepCase{"TakesMoney",
                               {1, 1},
                               StepKind::Continued,
                               {"Intro: state 1 -> 0", "money 0 -> -2"},
                               ""},
                      StepCase{"RemovesAVariable",
                               {1, 1, 2},
                               StepKind::Continued,
                               {"Intro: state 0 -> 0", "removed count (was 3)"},
                               ""},
                      StepCase{"HandsOver", {3}, StepKind::Switched, {"switch to Bob"}, ""},
                      StepCase{"HandsBack", {3, 2}, StepKind::Switched, {"switch to Intro"}, ""},
                      StepCase{"Ends",
                               {4},
                               StepKind::Ended,
                               {"Intro: state 0 -> -1", "end (state -1), Intro starts again"},
                               ""},
                      // The action fails after the state has moved, as the engine does it.
                      StepCase{"RemovingAMissingVariableFails",
                               {2},
                               StepKind::Failed,
                               {"Intro: state 0 -> 0", "failed: Can't apply question!"},
                               "Can't apply question!"},
                      StepCase{"AStateWithoutQuestionsFails",
                               {5},
                               StepKind::Failed,
                               {"Intro: state 0 -> 2", "failed: No questions!"},
                               "No questions!"},
                      StepCase{"AHandOverToNobodyFails",
                               {3, 1},
                               StepKind::Failed,
                               {"failed: Character not found!"},
                               "Character not found!"}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.label; });

TEST(PlaySession, ShowsTextsAsTheWindowDoes) {
    ScratchFolder folder;
    PlaySession session;
    ASSERT_TRUE(session.open(folder.write("script.txt", playScript()), true));
    ASSERT_TRUE(session.start("Intro"));
    EXPECT_EQ(session.characterName(), "Intro");
    EXPECT_EQ(session.answer(), "Hello there, fish & chips.");
    EXPECT_EQ(session.questions(),
              (std::vector<std::string>{"Count", "Forget", "Go to Bob", "Bye", "Dead end"}));
}

TEST(PlaySession, FindsAQuestionByItsShownText) {
    ScratchFolder folder;
    PlaySession session;
    ASSERT_TRUE(session.open(folder.write("script.txt", playScript()), true));
    ASSERT_TRUE(session.start("Intro"));
    EXPECT_EQ(session.findQuestion("Go to Bob").position, 2);
    EXPECT_EQ(session.findQuestion("Count").position, 0);
    // The script's own spelling is not what the player sees.
    EXPECT_FALSE(session.findQuestion("&Count").position.has_value());
    EXPECT_EQ(session.findQuestion("Pay").matches, 0);
}

TEST(PlaySession, LoadFailureReadsAsTheWindowsMessage) {
    ScratchFolder folder;
    PlaySession session;
    EXPECT_FALSE(session.open(folder.path("missing.chr"), false));
    EXPECT_TRUE(session.failed());
    EXPECT_EQ(session.failureText(), "Err=-1\nLine=1\nErrStr=");
    EXPECT_FALSE(session.start("Intro"));
}

TEST(PlaySession, StartingANameThatIsNotThereFails) {
    ScratchFolder folder;
    PlaySession session;
    ASSERT_TRUE(session.open(folder.write("script.txt", playScript()), true));
    // Names compare exactly, case included.
    EXPECT_FALSE(session.start("intro"));
    EXPECT_EQ(session.failureText(), "Character not found!");
}

} // namespace
