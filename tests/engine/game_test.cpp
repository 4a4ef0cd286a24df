// Games over a shared script: each keeps its own states and memory, follows
// the window's rules, decodes what it shows, tells listeners what a step
// changed, and saves in the engine's format.
#include "murmex/game.h"

#include "support/sample_scripts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace murmex {
namespace {

std::shared_ptr<const Script> loadPlain(const std::string& text) {
    LoadResult result;
    auto script = Script::fromMemory(text.data(), text.size(), result, true);
    EXPECT_TRUE(result.ok()) << result.message;
    return script;
}

std::unique_ptr<Game> startedGame(std::shared_ptr<const Script> script) {
    auto game = Game::create(std::move(script));
    EXPECT_TRUE(game->start("Intro"));
    return game;
}

// Positions in the play script's Intro; see sample_scripts.h.
constexpr int32_t COUNT = 0;
constexpr int32_t FORGET = 1;
constexpr int32_t GO_TO_BOB = 2;
constexpr int32_t BYE = 3;

// Every event heard, written out as one line each.
struct Heard {
    std::vector<std::string> lines;

    static void note(void* self, const GameEvent& event) {
        std::string line = std::to_string(static_cast<int>(event.kind));
        line += event.name != nullptr ? std::string(" ") + event.nameText : "";
        line += " " + std::to_string(event.value) + " " + std::to_string(event.previous);
        line += event.present ? " present" : "";
        line += event.answerText != nullptr ? std::string(" ") + event.answerText : "";
        static_cast<Heard*>(self)->lines.push_back(line);
    }
    void listenTo(Game& game) {
        for (auto kind : {GameEventKind::VariableChanged, GameEventKind::MoneyChanged,
                          GameEventKind::HandedOver, GameEventKind::Ended, GameEventKind::ItemGiven,
                          GameEventKind::ItemTaken}) {
            game.listen(kind, note, this);
        }
    }
};

TEST(GameTest, GamesOverOneScriptKeepTheirOwnStateAndKeepTheScriptAlive) {
    auto script = loadPlain(testing::playScript());
    auto first = startedGame(script);
    auto second = startedGame(script);
    script.reset();

    EXPECT_EQ(first->choose(COUNT).kind, StepKind::Continued);
    int32_t count = 0;
    EXPECT_TRUE(first->variable("count", count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(second->variable("count", count));
    EXPECT_STREQ(first->question(0).label, "Pay");
    EXPECT_STREQ(second->question(0).label, "Count");
    EXPECT_STREQ(second->script().titleText(), "Trial & Error");
}

TEST(GameTest, StepsFollowTheWindowAndListenersHearWhatChanged) {
    auto game = startedGame(loadPlain(testing::playScript()));
    Heard heard;
    heard.listenTo(*game);

    EXPECT_EQ(game->choose(COUNT).kind, StepKind::Continued);
    EXPECT_EQ(game->choose(0).kind, StepKind::Continued); // Pay: money 0 -> -2
    EXPECT_EQ(game->choose(FORGET).kind, StepKind::Continued);
    EXPECT_EQ(game->choose(GO_TO_BOB).kind, StepKind::Switched);
    EXPECT_STREQ(game->characterNameText(), "Bob");
    EXPECT_EQ(game->choose(1).kind, StepKind::Switched); // Back
    EXPECT_EQ(game->choose(BYE).kind, StepKind::Ended);
    EXPECT_STREQ(game->characterName(), "Intro");

    const std::vector<std::string> expected = {
        "1 count 3 0 present", "2 -2 0", "1 count 0 3", "3 Bob 0 0", "3 Intro 0 0", "4 0 0 Bye.",
    };
    EXPECT_EQ(heard.lines, expected);
}

TEST(GameTest, ItemActionsReachTheHostOnlyWhenApplied) {
    auto game = startedGame(loadPlain(testing::itemScript()));
    Heard heard;
    heard.listenTo(*game);
    EXPECT_EQ(game->choose(0).kind, StepKind::Continued);
    EXPECT_EQ(game->choose(7).kind, StepKind::Failed); // refused: nothing applied
    EXPECT_EQ(game->choose(0).kind, StepKind::Continued);
    EXPECT_EQ(heard.lines, (std::vector<std::string>{"5 Café key 2 0", "6 Café key 0 0"}));
}

TEST(GameTest, FailuresAndRefusedChoicesSayWhy) {
    auto game = startedGame(loadPlain(testing::playScript()));
    EXPECT_EQ(game->choose(7).kind, StepKind::Failed);
    EXPECT_STREQ(game->failure(), "Can't apply question!");
    EXPECT_EQ(game->questionCount(), 5) << "a refused index changes nothing";

    EXPECT_EQ(game->choose(FORGET).kind, StepKind::Failed); // count is not set
    EXPECT_EQ(game->questionCount(), 0);
    EXPECT_FALSE(game->playing());
    EXPECT_FALSE(game->start("Nobody"));
    EXPECT_STREQ(game->failure(), "Character not found!");
    EXPECT_STREQ(game->answerText(), "");
    // A host's name is never cut to the store's limit; a script's still is.
    EXPECT_EQ(game->setVariable("twenty_bytes_long_xx", 1), Game::NAME_TOO_LONG);
    EXPECT_EQ(game->setVariable("nineteen_bytes_long", 1), 0);
}

TEST(GameTest, TextsComeAsBytesAndDecodedWithTheirMnemonics) {
    auto game = startedGame(loadPlain(testing::scriptWithHeader({
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Gr\xFC\xDF &Gott\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"&\xC4pfel && Birnen\" A = \"-\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"Caf\xC3\xA9 &\xC3\xA9t\xC3\xA9\" A = \"-\" ACT = "
        "\"ACT_NONE\" }",
        "}",
    })));
    EXPECT_STREQ(game->answer(), "Gr\xFC\xDF &Gott");
    EXPECT_STREQ(game->answerText(), "Grüß Gott");
    const Question windows = game->question(0);
    EXPECT_STREQ(windows.text, "&Äpfel && Birnen");
    EXPECT_STREQ(windows.label, "Äpfel & Birnen");
    EXPECT_EQ(windows.mnemonic, U'Ä');
    const Question utf8 = game->question(1);
    EXPECT_STREQ(utf8.label, "Café été");
    EXPECT_EQ(utf8.mnemonic, U'é');
    EXPECT_EQ(foldMnemonicCase(utf8.mnemonic), U'É');
}

TEST(GameTest, ListenersMayComeAndGoWhileBeingTold) {
    auto game = startedGame(loadPlain(testing::playScript()));
    struct Juggler {
        Game* game;
        ListenerId self = 0;
        ListenerId other = 0;
        int calls = 0;
        Heard late;
    } juggler{game.get(), 0, 0, 0, {}};
    Heard removed;
    juggler.self = game->listen(
        GameEventKind::MoneyChanged,
        [](void* data, const GameEvent&) {
            auto* j = static_cast<Juggler*>(data);
            ++j->calls;
            EXPECT_TRUE(j->game->unlisten(j->self));
            EXPECT_TRUE(j->game->unlisten(j->other));
            j->game->listen(GameEventKind::MoneyChanged, Heard::note, &j->late);
            EXPECT_EQ(j->game->setVariable("x", 1), -1) << "listeners only read";
        },
        &juggler);
    juggler.other = game->listen(GameEventKind::MoneyChanged, Heard::note, &removed);

    game->setMoney(5);
    game->setMoney(6);
    EXPECT_EQ(juggler.calls, 1);
    EXPECT_TRUE(removed.lines.empty());
    EXPECT_EQ(juggler.late.lines, std::vector<std::string>{"2 6 5"});
    EXPECT_FALSE(game->unlisten(juggler.self));
}

TEST(GameTest, AGameDeletedByItsOwnListenerGoesOnceTheCallReturns) {
    struct Holder {
        std::unique_ptr<Game> game;
        int calls = 0;
    } holder{startedGame(loadPlain(testing::playScript()))};
    const auto drop = [](void* data, const GameEvent&) {
        auto* held = static_cast<Holder*>(data);
        ++held->calls;
        held->game.reset();
    };
    holder.game->listen(GameEventKind::VariableChanged, drop, &holder);
    holder.game->listen(GameEventKind::VariableChanged, drop, &holder);
    Game* game = holder.game.get();
    EXPECT_EQ(game->choose(COUNT).kind, StepKind::Continued);
    EXPECT_EQ(holder.calls, 1) << "the listeners after it hear nothing";
    EXPECT_EQ(holder.game, nullptr);
}

TEST(GameTest, RestoreAndResetAreToldOnceDoneAndObserversHearTheirVariableOnly) {
    auto game = startedGame(loadPlain(testing::playScript()));
    game->setMoney(3);
    uint8_t bytes[GAME_STATE_V2_MAX_BYTES];
    size_t written = 0;
    ASSERT_EQ(game->save(bytes, sizeof bytes, written), GAME_STATE_OK);
    struct Seen {
        Game* game;
        std::vector<std::string> lines;
    } seen{game.get(), {}};
    const auto note = [](void* data, const GameEvent& event) {
        auto* s = static_cast<Seen*>(data);
        s->lines.push_back(std::to_string(static_cast<int>(event.kind)) + " money " +
                           std::to_string(s->game->money()) +
                           (event.name != nullptr ? std::string(" ") + event.nameText : ""));
    };
    game->listen(GameEventKind::Restored, note, &seen);
    game->listen(GameEventKind::Reset, note, &seen);
    const ListenerId door = game->observe("door", note, &seen);
    EXPECT_EQ(game->observe("twenty_bytes_long_xx", note, &seen), 0u);
    EXPECT_EQ(game->observe("", note, &seen), 0u);

    game->setVariable("window", 1);
    game->setVariable("door", 2);
    game->reset();
    EXPECT_NE(game->restore(bytes, 3), GAME_STATE_OK);
    EXPECT_EQ(game->restore(bytes, written), GAME_STATE_OK);
    EXPECT_TRUE(game->unlisten(door));
    game->setVariable("door", 5);
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"1 money 3 door", "8 money 0", "7 money 3"}));
}

std::string idOf(const Script& script, const ShownLine& line) {
    char id[LINE_ID_SIZE];
    script.lineId(line.character, line.unit, line.part, id, sizeof id);
    return std::to_string(line.depth) + " " + id;
}

TEST(GameTest, ShownLinesCarryTheExportsIdsAndLookaheadListsWhatTheNextChoiceCanShow) {
    auto game = startedGame(loadPlain(testing::playScript()));
    Heard heard;
    heard.listenTo(*game);
    char id[LINE_ID_SIZE];
    EXPECT_EQ(game->answerLineId(id, sizeof id), 12u);
    EXPECT_STREQ(id, "Intro/S0/1/A");
    game->questionLineId(GO_TO_BOB, id, sizeof id);
    EXPECT_STREQ(id, "Intro/S0/4/Q");
    EXPECT_EQ(game->questionLineId(5, id, sizeof id), 0u);
    EXPECT_STREQ(id, "");

    // Forget and Dead end fail, so they show nothing; Bye ends the
    // conversation and shows Intro's opening again.
    std::vector<ShownLine> lines(32);
    const int32_t count = game->lookahead(1, lines.data(), 32);
    std::vector<std::string> ids;
    for (int32_t k = 0; k < count; ++k) {
        ids.push_back(idOf(game->script(), lines[static_cast<size_t>(k)]));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"1 Intro/S0/2/A", "1 Intro/S1/1/Q", "1 Bob/S0/1/A",
                                             "1 Bob/S0/2/Q", "1 Bob/S0/3/Q", "1 Intro/S0/1/A",
                                             "1 Intro/S0/2/Q", "1 Intro/S0/3/Q", "1 Intro/S0/4/Q",
                                             "1 Intro/S0/5/Q", "1 Intro/S0/6/Q"}));
    // Forget works once Count has set its variable, three choices on; a cut
    // list still counts every line, and batches from `first` on give the rest.
    const int32_t deeper = game->lookahead(3, lines.data(), 2);
    EXPECT_GT(deeper, count);
    EXPECT_EQ(game->lookahead(3, lines.data(), 32, deeper - 1), deeper);
    EXPECT_EQ(idOf(game->script(), lines[0]), "3 Intro/S0/3/A");
    EXPECT_EQ(game->lookahead(0, nullptr, 0), -1);
    EXPECT_EQ(game->lookahead(MAX_LOOKAHEAD_DEPTH + 1, nullptr, 0), -1);

    // Looking ahead changed nothing and told no one.
    EXPECT_TRUE(heard.lines.empty());
    EXPECT_STREQ(game->answerText(), "Hello there, fish & chips.");
    int32_t value = 0;
    EXPECT_FALSE(game->variable("count", value));
}

TEST(GameTest, VariablesListEachNameALookupFindsOnce) {
    auto game = Game::create(loadPlain(testing::playScript()));
    // "ab" and "ba" start their search at the same slot.
    ASSERT_EQ(game->setVariable("ab", 1), 0);
    ASSERT_EQ(game->setVariable("ba", 2), 0);
    ASSERT_TRUE(game->removeVariable("ab")); // hides "ba" behind an empty slot
    int32_t value = 0;
    EXPECT_FALSE(game->variable("ba", value));
    ASSERT_EQ(game->setVariable("ba", 3), 0); // in again, at the first slot

    std::vector<std::string> names;
    Variable variable{};
    for (int32_t slot = game->nextVariable(0, variable); slot >= 0;
         slot = game->nextVariable(slot + 1, variable)) {
        names.push_back(std::string(variable.name) + "=" + std::to_string(variable.value));
    }
    EXPECT_EQ(names, std::vector<std::string>{"ba=3"});
}

TEST(GameTest, SavesMoveBetweenGamesAndEnginesOfTheSameScript) {
    const std::string text = testing::playScript();
    auto script = loadPlain(text);
    auto game = startedGame(script);
    game->choose(COUNT);
    game->setMoney(42);
    uint8_t bytes[GAME_STATE_V2_MAX_BYTES];
    size_t written = 0;
    ASSERT_EQ(game->save(bytes, sizeof bytes, written), GAME_STATE_OK);

    auto restored = Game::create(script);
    ASSERT_EQ(restored->restore(bytes, written), GAME_STATE_OK);
    EXPECT_STREQ(restored->answerText(), "Counted.");
    EXPECT_EQ(restored->money(), 42);
    EXPECT_EQ(restored->choose(0).kind, StepKind::Continued);

    // The engine reads the same format.
    ConversationEngine engine;
    engine.disableDescramble();
    ASSERT_EQ(engine.loadFromMemory(text.data(), text.size()), LOAD_OK);
    ConversationView view;
    ASSERT_EQ(restoreGameState(engine, view, bytes, written), GAME_STATE_OK);
    EXPECT_STREQ(view.answer, "Counted.");

    // A refusal changes nothing.
    bytes[written - 1] ^= 1;
    EXPECT_EQ(restored->restore(bytes, written), GAME_STATE_CORRUPT);
    EXPECT_STREQ(restored->answerText(), "Paid.");
    bytes[written - 1] ^= 1;
    // Another script: refused strictly for any change, and otherwise because
    // it does not hold the situation, with the refusal in words.
    auto other = Game::create(loadPlain(testing::smallScript()));
    EXPECT_EQ(other->restoreStrictly(bytes, written), GAME_STATE_OTHER_SCRIPT);
    EXPECT_EQ(other->restore(bytes, written), GAME_STATE_STATE_GONE);
    EXPECT_NE(std::string(other->refusal()).find("\"Intro\" in state 1"), std::string::npos)
        << other->refusal();
    EXPECT_EQ(restored->restore(bytes, written), GAME_STATE_OK);
    EXPECT_STREQ(restored->refusal(), "");
}

} // namespace
} // namespace murmex
