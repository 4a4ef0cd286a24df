// Saved games across scripts: a version 2 saved game restores into an edited
// or translated script where that script still holds the situation saved,
// refuses with a code of its own, changing nothing, where it does not, and a
// version 1 saved game still restores into its own script exactly.
#include "engine/game_state_parts.h"
#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace murmex {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

std::string unit(const char* state, const char* next, const char* question, const char* answer,
                 const std::string& rest = "ACT = \"ACT_NONE\"") {
    return std::string("  { S = \"") + state + "\" N = \"" + next + "\" Q = \"" + question +
           "\" A = \"" + answer + "\" " + rest + " }";
}

const std::string ASK =
    unit("0", "1", "Ask", "Asked.", "ACT = \"ACT_ADD_MEM\" PARAM = \"asked\" VAL = \"1\"");

// Intro asked once: in state 1, showing the answer of "Ask", with "asked" set.
Lines introLines(const std::string& answer = "Asked.") {
    return {"\"Intro\" {",
            unit("0", "0", "", "Hello."),
            unit("0", "1", "Ask", answer.c_str(),
                 "ACT = \"ACT_ADD_MEM\" PARAM = \"asked\" VAL = \"1\""),
            unit("1", "1", "Again", "Again."),
            unit("1", "-1", "Bye", "Bye."),
            "}"};
}

Lines maraLines(const char* name = "Mara") {
    return {std::string("\"") + name + "\" {", unit("0", "0", "", "Mara here."),
            unit("0", "0", "Back", "-", "ACT = \"ACT_COMM\" PARAM = \"Intro\""), "}"};
}

std::string script(std::vector<Lines> parts) {
    Lines body;
    for (const Lines& part : parts) {
        body.insert(body.end(), part.begin(), part.end());
    }
    return testing::scriptWithHeader(body);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An engine with a script loaded and Intro started, as the player plays it.
struct Played {
    explicit Played(const std::string& text) {
        engine.disableDescramble();
        EXPECT_EQ(engine.loadFromMemory(text.data(), text.size()), LOAD_OK);
        EXPECT_TRUE(flow.start(START_CHARACTER));
    }
    Played& choose(std::initializer_list<int32_t> positions) {
        for (const int32_t position : positions) {
            EXPECT_NE(flow.choose(position).kind, StepKind::Failed) << screen();
        }
        return *this;
    }
    std::string screen() const {
        std::string text = view.answer != nullptr ? view.answer : "(none)";
        for (int32_t k = 0; k < view.questionCount; ++k) {
            text += std::string(" | ") + view.questions[k];
        }
        return text;
    }
    Bytes save() const {
        Bytes bytes(GAME_STATE_V2_MAX_BYTES);
        size_t written = 0;
        EXPECT_EQ(saveGameState(engine, view, bytes.data(), bytes.size(), written), GAME_STATE_OK);
        bytes.resize(written);
        return bytes;
    }
    Bytes saveVersion1() const {
        GameState state;
        EXPECT_EQ(captureGameState(engine, view, state), GAME_STATE_OK);
        Bytes bytes(GAME_STATE_MAX_BYTES);
        size_t written = 0;
        EXPECT_EQ(game_state::encodeVersion1(state, scriptDigest(engine), bytes.data(),
                                             bytes.size(), written),
                  GAME_STATE_OK);
        bytes.resize(written);
        return bytes;
    }
    int32_t restore(const Bytes& bytes, GameStateRefusal& refusal) {
        return restoreGameState(engine, view, bytes.data(), bytes.size(), refusal);
    }

    ConversationEngine engine;
    ConversationView view;
    ConversationFlow flow{engine, view};
};

Bytes savedAfterAsking() {
    return Played(script({introLines(), maraLines()})).choose({0}).save();
}

struct Migration {
    const char* label;
    std::string edited;
    const char* screen;
};

TEST(SavedGameMigrationTest, EditsThatKeepTheSituationMigrate) {
    const Migration migrations[] = {
        {"a text changed", script({introLines("Asked, and fixed."), maraLines()}),
         "Asked, and fixed. | Again | Bye"},
        {"a unit appended",
         script({introLines(), maraLines(), {"\"Late\" {", unit("0", "0", "", "Late."), "}"}}),
         "Asked. | Again | Bye"},
        {"a unit and a variable added",
         script({{"\"Intro\" {", unit("0", "0", "", "Hello."), ASK,
                  unit("1", "1", "Note it", "Noted.",
                       "ACT = \"ACT_ADD_MEM\" PARAM = \"noted\" VAL = \"1\" "
                       "{ ID = \"noted\" OP = \"not\" }"),
                  unit("1", "1", "Again", "Again."), unit("1", "-1", "Bye", "Bye."), "}"},
                 maraLines()}),
         "Asked. | Note it | Again | Bye"},
    };
    for (const Migration& migration : migrations) {
        Played edited(migration.edited);
        GameStateRefusal refusal;
        ASSERT_EQ(edited.restore(savedAfterAsking(), refusal), GAME_STATE_OK) << migration.label;
        EXPECT_EQ(edited.screen(), migration.screen) << migration.label;
        // The memory came along: "asked" is still set, and the game plays on.
        EXPECT_GE(edited.engine.memory.lookup("asked"), 0) << migration.label;
        EXPECT_EQ(edited.flow.choose(edited.view.questionCount - 1).kind, StepKind::Ended);
    }
}

struct Refusal {
    const char* label;
    Bytes saved;
    std::string edited;
    int32_t code;
    const char* words;
};

Bytes savedTalkingToMara() {
    Played played(script({introLines(), maraLines()}));
    EXPECT_EQ(played.engine.startCharacter(1, played.view), 0);
    return played.save();
}

TEST(SavedGameMigrationTest, EachRefusalNamesItsSituationAndChangesNothing) {
    Lines stateGone = introLines();
    stateGone[3] = unit("2", "2", "Again", "Again.");
    stateGone[4] = unit("2", "-1", "Bye", "Bye.");
    Lines otherShape = introLines();
    otherShape[2] =
        unit("0", "1", "Ask", "Asked.", "ACT = \"ACT_ADD_MEM\" PARAM = \"asked\" VAL = \"2\"");
    Lines inserted = introLines();
    inserted.insert(inserted.begin() + 2, unit("0", "1", "Wave", "Waved."));
    // State 1 is there, but none of its questions may be asked once "asked" is set.
    Lines nothingToAsk = introLines();
    for (const size_t line : {3u, 4u}) {
        nothingToAsk[line].insert(nothingToAsk[line].size() - 1,
                                  "{ ID = \"asked\" OP = \"not\" } ");
    }
    const Refusal refusals[] = {
        {"character renamed", savedTalkingToMara(), script({introLines(), maraLines("Marah")}),
         GAME_STATE_CHARACTER_GONE, "talks to \"Mara\", who is not"},
        {"state removed", savedAfterAsking(), script({stateGone, maraLines()}),
         GAME_STATE_STATE_GONE, "\"Intro\" in state 1, which has no talk units"},
        {"unit shown does something else", savedAfterAsking(), script({otherShape, maraLines()}),
         GAME_STATE_UNIT_CHANGED, "talk unit 2 of \"Intro\" in state 0"},
        {"unit inserted before it", savedAfterAsking(), script({inserted, maraLines()}),
         GAME_STATE_UNIT_CHANGED, "talk unit 2 of \"Intro\" in state 0"},
        {"no question offered", savedAfterAsking(), script({nothingToAsk, maraLines()}),
         GAME_STATE_NO_QUESTIONS, "\"Intro\" in state 1, where no question"},
    };
    for (const Refusal& expected : refusals) {
        Played edited(expected.edited);
        const Bytes before = edited.save();
        const std::string screen = edited.screen();
        GameStateRefusal refusal;
        EXPECT_EQ(edited.restore(expected.saved, refusal), expected.code) << expected.label;
        EXPECT_EQ(edited.save(), before) << expected.label;
        EXPECT_EQ(edited.screen(), screen) << expected.label;
        char words[GAME_STATE_REFUSAL_TEXT_SIZE];
        gameStateRefusalMessage(refusal, words, sizeof words);
        EXPECT_NE(std::string(words).find(expected.words), std::string::npos) << words;
    }
}

TEST(SavedGameMigrationTest, ARepeatedNameIsToldApartByItsOccurrence) {
    Played twice(script({introLines(), maraLines(), maraLines()}));
    ASSERT_EQ(twice.engine.startCharacter(2, twice.view), 0); // the second Mara
    const Bytes saved = twice.save();
    Played once(script({introLines(), maraLines()}));
    GameStateRefusal refusal;
    EXPECT_EQ(once.restore(saved, refusal), GAME_STATE_CHARACTER_GONE);
    char words[GAME_STATE_REFUSAL_TEXT_SIZE];
    gameStateRefusalMessage(refusal, words, sizeof words);
    EXPECT_NE(std::string(words).find("\"Mara~2\""), std::string::npos) << words;
    Played again(script({introLines(), maraLines(), maraLines()}));
    ASSERT_EQ(again.restore(saved, refusal), GAME_STATE_OK);
    EXPECT_EQ(again.view.characterIndex, 2);
}

// The same choices in the English demo and in its German translation lead to
// the same situation; a game saved in one restores into the other showing
// that situation in the other's words.
TEST(SavedGameMigrationTest, TheDemoMigratesIntoItsTranslationAndBack) {
    const std::string english = readFile(MURMEX_EXAMPLES "/demo.chr.txt");
    const std::string german = readFile(MURMEX_EXAMPLES "/translations/demo.de.chr.txt");
    const std::initializer_list<int32_t> choices = {1, 0, 1}; // Mara, help, the letter
    for (const auto& [from, into] : {std::pair(english, german), std::pair(german, english)}) {
        Played saved(from);
        saved.choose(choices);
        Played restored(into);
        Played expected(into);
        expected.choose(choices);
        GameStateRefusal refusal;
        ASSERT_EQ(restored.restore(saved.save(), refusal), GAME_STATE_OK);
        EXPECT_EQ(restored.screen(), expected.screen());
        EXPECT_NE(restored.screen(), saved.screen());
        EXPECT_EQ(restored.save(), expected.save());
    }
}

TEST(SavedGameMigrationTest, VersionOneRestoresExactlyIntoItsOwnScriptOnly) {
    Played saved(script({introLines(), maraLines()}));
    saved.choose({0});
    const Bytes version1 = saved.saveVersion1();
    Played restored(script({introLines(), maraLines()}));
    GameStateRefusal refusal;
    ASSERT_EQ(restored.restore(version1, refusal), GAME_STATE_OK);
    EXPECT_EQ(restored.screen(), saved.screen());
    EXPECT_EQ(restored.save(), saved.save());
    Played edited(script({introLines("Asked, and fixed."), maraLines()}));
    EXPECT_EQ(edited.restore(version1, refusal), GAME_STATE_OTHER_SCRIPT);
}

TEST(SavedGameMigrationTest, StrictRestoreRefusesAnyChange) {
    Played edited(script({introLines("Asked, and fixed."), maraLines()}));
    const Bytes saved = savedAfterAsking();
    EXPECT_EQ(restoreGameStateStrictly(edited.engine, edited.view, saved.data(), saved.size()),
              GAME_STATE_OTHER_SCRIPT);
    Played same(script({introLines(), maraLines()}));
    EXPECT_EQ(restoreGameStateStrictly(same.engine, same.view, saved.data(), saved.size()),
              GAME_STATE_OK);
    EXPECT_EQ(same.screen(), "Asked. | Again | Bye");
}

} // namespace
} // namespace murmex
