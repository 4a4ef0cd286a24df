// Saved games: a restored game shows the same screen and plays on exactly
// like the one saved, the memory's slot layout included; every kind of bad
// input is refused with its own code and changes nothing.
#include "engine/game_state_parts.h"
#include "engine/saved_game_format.h"
#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace murmex {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::scriptText;

// "ab" and "ba" start their search at the same slot: removing "ab" hides
// "ba" until a name takes the emptied slot again.
std::string savedScript(const char* greeting = "Hello.") {
    return scriptText({
        "MurmexSrcFile",
        "TITLE = \"Saved\"",
        "COLOR = \"1\", \"2\", \"3\"",
        "TEXTCOLOR = \"4\", \"5\", \"6\"",
        "\"Intro\" {",
        std::string("  { S = \"0\" N = \"0\" Q = \"\" A = \"") + greeting +
            "\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"Set ab\" A = \"ab set.\" ACT = \"ACT_ADD_MEM\" PARAM = "
        "\"ab\" "
        "VAL = \"1\" }",
        "  { S = \"0\" N = \"0\" Q = \"Set ba\" A = \"ba set.\" ACT = \"ACT_ADD_MEM\" PARAM = "
        "\"ba\" "
        "VAL = \"2\" }",
        "  { S = \"0\" N = \"0\" Q = \"Forget ab\" A = \"ab gone.\" ACT = \"ACT_SUB_MEM\" PARAM = "
        "\"ab\" }",
        "  { S = \"0\" N = \"0\" Q = \"Is ba there?\" A = \"Yes.\" ACT = \"ACT_NONE\" "
        "{ ID = \"ba\" OP = \"==\" VAL = \"2\" } }",
        "  { S = \"0\" N = \"0\" Q = \"Is ba lost?\" A = \"Lost.\" ACT = \"ACT_NONE\" "
        "{ ID = \"ba\" OP = \"not\" } }",
        "  { S = \"0\" N = \"1\" Q = \"Next\" A = \"On.\" ACT = \"ACT_NONE\" }",
        "  { S = \"1\" N = \"1\" Q = \"Pay\" A = \"Paid.\" ACT = \"ACT_ADD_MONEY\" PARAM = "
        "\"coins\" "
        "VAL = \"5\" }",
        "  { S = \"1\" N = \"0\" Q = \"Go to Bob\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Bob\" }",
        "  { S = \"1\" N = \"-1\" Q = \"Bye\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
        "}",
        "\"Bob\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Bob here.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"Back to Intro\" A = \"-\" ACT = \"ACT_COMM\" PARAM = "
        "\"Intro\" }",
        "}",
    });
}

// An engine with the script loaded and "Intro" started, played as the player does.
struct Game {
    explicit Game(const std::string& script = savedScript()) {
        engine.disableDescramble();
        EXPECT_EQ(engine.loadFromMemory(script.data(), script.size()), LOAD_OK);
        EXPECT_TRUE(flow.start(START_CHARACTER));
    }

    // The answer and the offered questions, as the player's window shows them.
    std::string screen() const {
        std::string text = view.answer != nullptr ? view.answer : "(none)";
        for (int32_t k = 0; k < view.questionCount; ++k) {
            text += std::string(" | ") + view.questions[k];
        }
        return text;
    }

    // Chooses each question by its text; returns each step's result and the screen after it.
    std::string play(std::initializer_list<std::string_view> questions) {
        std::string transcript;
        for (std::string_view question : questions) {
            const auto offered =
                std::find(view.questions, view.questions + view.questionCount, question);
            if (offered == view.questions + view.questionCount) {
                ADD_FAILURE() << "\"" << question << "\" is not offered: " << screen();
                break;
            }
            const int32_t result =
                flow.choose(static_cast<int32_t>(offered - view.questions)).result;
            transcript += std::to_string(result) + " " + screen() + "\n";
        }
        return transcript;
    }

    Bytes save() const {
        Bytes bytes(GAME_STATE_V2_MAX_BYTES);
        size_t written = 0;
        EXPECT_EQ(saveGameState(engine, view, bytes.data(), bytes.size(), written), GAME_STATE_OK);
        bytes.resize(written);
        return bytes;
    }

    int32_t restore(const Bytes& bytes) {
        return restoreGameState(engine, view, bytes.data(), bytes.size());
    }

    ConversationEngine engine;
    ConversationView view;
    ConversationFlow flow{engine, view};
};

// A game with "ba" hidden behind the removed "ab", money, Intro in state 1
// and a hand-over to Bob behind it.
Game& savedGame(Game& game) {
    game.play({"Set ab", "Set ba", "Forget ab", "Next", "Pay", "Go to Bob"});
    return game;
}

// The game in version 1's layout, as games saved before version 2.
Bytes version1Of(const Game& game) {
    GameState state;
    EXPECT_EQ(captureGameState(game.engine, game.view, state), GAME_STATE_OK);
    Bytes bytes(GAME_STATE_MAX_BYTES);
    size_t written = 0;
    EXPECT_EQ(game_state::encodeVersion1(state, scriptDigest(game.engine), bytes.data(),
                                         bytes.size(), written),
              GAME_STATE_OK);
    bytes.resize(written);
    return bytes;
}

// Checks that a restore of `bytes` is refused with `code` and leaves the game alone.
void expectRefused(Game& game, const Bytes& bytes, int32_t code) {
    const Bytes before = game.save();
    const std::string screen = game.screen();
    const int32_t result = game.restore(bytes);
    EXPECT_EQ(result, code) << gameStateMessage(result);
    EXPECT_EQ(game.save(), before);
    EXPECT_EQ(game.screen(), screen);
}

TEST(GameStateTest, RestoredGamePlaysOnLikeTheSavedOne) {
    Game saved;
    savedGame(saved);
    EXPECT_EQ(saved.screen(), "Bob here. | Back to Intro");
    Game restored;
    restored.play({"Set ba", "Next"});
    ASSERT_EQ(restored.restore(saved.save()), GAME_STATE_OK);
    EXPECT_EQ(restored.screen(), saved.screen());
    EXPECT_EQ(restored.engine.memory.money, 5);
    // "ba" stays hidden until "ab" retakes its slot, in both games alike.
    const std::initializer_list<std::string_view> further = {
        "Back to Intro", "Is ba lost?",   "Set ab", "Is ba there?", "Next",
        "Go to Bob",     "Back to Intro", "Next",   "Bye",          "Set ba"};
    EXPECT_EQ(restored.play(further), saved.play(further));
    EXPECT_EQ(restored.save(), saved.save());
}

TEST(GameStateTest, FullestStateFitsTheLargestSize) {
    Game saved;
    // 500 names of the longest length fill every slot.
    for (int32_t i = 0; i < MEMORY_SLOTS; ++i) {
        const std::string name = "nineteen_chars_" + std::to_string(1000 + i);
        ASSERT_EQ(saved.engine.memory.set(name.c_str(), i), 0);
    }
    const Bytes bytes = saved.save();
    // Version 2 leaves room for every character with a longest name.
    size_t unused = saved_game::CHARACTER_MAX_BYTES *
                    static_cast<size_t>(MAX_CHARACTERS - saved.engine.characterCount);
    for (int32_t c = 0; c < saved.engine.characterCount; ++c) {
        unused += MAX_CHARACTER_NAME - std::strlen(saved.engine.characters[c]->name);
    }
    EXPECT_EQ(bytes.size() + unused, GAME_STATE_V2_MAX_BYTES);
    Game restored;
    ASSERT_EQ(restored.restore(bytes), GAME_STATE_OK);
    EXPECT_EQ(restored.save(), bytes);
    // Version 1 leaves room for every character's state and five questions.
    const size_t written = version1Of(saved).size();
    const size_t unusedV1 = 4 * static_cast<size_t>(MAX_CHARACTERS - saved.engine.characterCount +
                                                    MAX_QUESTIONS - saved.view.questionCount);
    EXPECT_EQ(written + unusedV1, GAME_STATE_MAX_BYTES);
}

TEST(GameStateTest, TooSmallBufferIsLeftAloneAndToldTheSize) {
    Game game;
    const size_t needed = game.save().size();
    Bytes buffer(needed - 1, 0xEE);
    size_t written = 0;
    EXPECT_EQ(saveGameState(game.engine, game.view, buffer.data(), buffer.size(), written),
              GAME_STATE_BUFFER_TOO_SMALL);
    EXPECT_EQ(written, needed);
    EXPECT_EQ(buffer, Bytes(needed - 1, 0xEE));
    EXPECT_EQ(saveGameState(game.engine, game.view, nullptr, 0, written),
              GAME_STATE_BUFFER_TOO_SMALL);
}

struct Refusal {
    const char* label;
    std::function<void(Bytes&)> damage;
    int32_t code;
};

class RefusedBytes : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedBytes, ChangeNothing) {
    Game saved;
    savedGame(saved);
    // The longest name a slot holds, so that its zero can be taken away.
    ASSERT_EQ(saved.engine.memory.set("nineteen_characters", 7), 0);
    Bytes bytes = saved.save();
    GetParam().damage(bytes);
    Game other;
    other.play({"Set ab"});
    expectRefused(other, bytes, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, RefusedBytes,
    ::testing::Values(
        Refusal{"FlippedMagic", [](Bytes& b) { b[0] ^= 1; }, GAME_STATE_CORRUPT},
        Refusal{"FlippedPayloadByte",
                [](Bytes& b) { b[b.size() - saved_game::CHECKSUM_BYTES - 1] ^= 0x10; },
                GAME_STATE_CORRUPT},
        Refusal{"FlippedChecksum", [](Bytes& b) { b.back() ^= 0x80; }, GAME_STATE_CORRUPT},
        Refusal{"OneByteTooMany", [](Bytes& b) { b.push_back(0); }, GAME_STATE_CORRUPT},
        Refusal{"PayloadCutAndResealed",
                [](Bytes& b) {
                    b.erase(b.end() - saved_game::CHECKSUM_BYTES - 1);
                    saved_game::seal(b.data(), b.size());
                },
                GAME_STATE_CORRUPT},
        Refusal{"AnotherVersion",
                [](Bytes& b) { b[saved_game::VERSION_OFFSET] = saved_game::VERSION + 1; },
                GAME_STATE_OTHER_VERSION},
        Refusal{"NameWithoutItsZero",
                [](Bytes& b) {
                    const std::string name = "nineteen_characters";
                    auto at = std::search(b.begin(), b.end(), name.begin(), name.end());
                    ASSERT_NE(at, b.end());
                    at[static_cast<std::ptrdiff_t>(name.size())] = 'x';
                    saved_game::seal(b.data(), b.size());
                },
                GAME_STATE_UNFIT}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.label); });

TEST(GameStateTest, EveryShorterLengthIsTruncated) {
    Game saved;
    const Bytes bytes = savedGame(saved).save();
    Game other;
    for (size_t size = 0; size < bytes.size(); ++size) {
        expectRefused(other,
                      Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)),
                      GAME_STATE_TRUNCATED);
    }
    EXPECT_EQ(restoreGameState(other.engine, other.view, nullptr, 0), GAME_STATE_TRUNCATED);
}

// Any change refuses a strict restore; an edit that keeps the situation
// saved migrates otherwise (saved_game_migration_test.cpp).
TEST(GameStateTest, AnotherScriptsGameIsRefusedStrictly) {
    Game saved;
    Game other(savedScript("Good day."));
    const Bytes bytes = savedGame(saved).save();
    const Bytes before = other.save();
    EXPECT_EQ(restoreGameStateStrictly(other.engine, other.view, bytes.data(), bytes.size()),
              GAME_STATE_OTHER_SCRIPT);
    EXPECT_EQ(other.save(), before);
}

TEST(GameStateTest, ValuesOutsideTheScriptAreNotApplied) {
    Game game;
    savedGame(game);
    const std::pair<const char*, std::function<void(GameState&)>> cases[] = {
        {"character count", [](GameState& s) { ++s.characterCount; }},
        {"character", [](GameState& s) { s.characterIndex = s.characterCount; }},
        {"no character, questions", [](GameState& s) { s.characterIndex = -1; }},
        {"question count", [](GameState& s) { s.questionCount = MAX_QUESTIONS + 1; }},
        {"question unit", [](GameState& s) { s.questionUnits[0] = 2; }}, // Bob has two units
        {"answer inside a text", [](GameState& s) { s.answerOffset = 1; }},
        {"answer past the pool", [](GameState& s) { s.answerOffset = 1 << 20; }},
    };
    const Bytes before = game.save();
    for (const auto& [label, damage] : cases) {
        GameState state;
        ASSERT_EQ(captureGameState(game.engine, game.view, state), GAME_STATE_OK);
        damage(state);
        EXPECT_EQ(applyGameState(state, game.engine, game.view), GAME_STATE_UNFIT) << label;
        EXPECT_EQ(game.save(), before) << label;
    }
    // A view that shows texts of no loaded script can't be taken.
    GameState state;
    ConversationView foreign = game.view;
    foreign.answer = "Bob here.";
    EXPECT_EQ(captureGameState(game.engine, foreign, state), GAME_STATE_UNFIT);
    foreign = game.view;
    foreign.questions[0] = "Back to Intro";
    EXPECT_EQ(captureGameState(game.engine, foreign, state), GAME_STATE_UNFIT);
}

TEST(GameStateTest, EachCodeHasItsOwnMessage) {
    std::set<std::string> messages;
    for (int32_t code = GAME_STATE_NO_QUESTIONS; code <= GAME_STATE_OK; ++code) {
        messages.insert(gameStateMessage(code));
    }
    messages.insert(gameStateMessage(1));
    EXPECT_EQ(messages.size(), 12u);
}

// Damaged bytes that still carry a right length and checksum, as a hostile
// writer would make them: refused without a change, or taken. Version 1 is
// taken as it stands; version 2 names its situation, so what is taken is
// what the names find, and saves again to bytes that restore to the same.
TEST(GameStateTest, ResealedDamageIsRefusedOrKeptExactly) {
    Game saved;
    ASSERT_EQ(savedGame(saved).engine.memory.set("nineteen_characters", 7), 0);
    const Bytes version1 = version1Of(saved);
    Game game;
    std::mt19937 random(20240611);
    const Bytes version2 = saved.save();
    for (const Bytes* original : {&version1, &version2}) {
        const bool exact = original == &version1;
        for (int round = 0; round < 3000; ++round) {
            Bytes bytes = *original;
            const size_t payload =
                bytes.size() - saved_game::PAYLOAD_OFFSET - saved_game::CHECKSUM_BYTES;
            const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(saved_game::PAYLOAD_OFFSET +
                                                                        random() % payload);
            if (round % 2 == 0) {
                *at = static_cast<uint8_t>(random());
            } else {
                bytes.erase(at); // the fields after it slide
            }
            saved_game::seal(bytes.data(), bytes.size());
            const Bytes before = game.save();
            if (game.restore(bytes) != GAME_STATE_OK) {
                EXPECT_EQ(game.save(), before) << "round " << round;
                continue;
            }
            if (exact) {
                EXPECT_EQ(version1Of(game), bytes) << "round " << round;
                continue;
            }
            const Bytes again = game.save();
            ASSERT_EQ(game.restore(again), GAME_STATE_OK) << "round " << round;
            EXPECT_EQ(game.save(), again) << "round " << round;
        }
    }
}

} // namespace
} // namespace murmex
