// Once a script is in memory, playing it and taking, saving and restoring the
// game must not touch the heap: every allocation in this binary is counted
// through a replaced operator new.
#include "engine/script_builder.h"
#include "murmex/conversation_engine.h"
#include "murmex/game.h"
#include "murmex/game_state.h"
#include "murmex/murmex.h"
#include "support/replaced_new.h"
#include "support/sample_scripts.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace murmex {
namespace {

using testing::addCharacter;
using testing::unit;
using testing::when;

TEST(StepAllocationTest, ConversationStepsAllocateNothing) {
    ConversationEngine engine;
    addCharacter(engine, "Intro",
                 {unit(0, 0, "", "hi"),
                  when(unit(0, 1, "remember", "ok", ACT_ADD_MEM, "met", 1), "met", OP_NOT),
                  unit(0, 0, "pay", "thanks", ACT_ADD_MONEY, "coins", 3),
                  when(unit(1, 0, "forget", "gone", ACT_SUB_MEM, "met"), "met", OP_EQUAL, 1),
                  unit(1, -1, "bye", "bye", ACT_NONE),
                  unit(0, 0, "smith", "-", ACT_COMM, "Smith")});
    addCharacter(engine, "Smith", {unit(0, 0, "", "forge"), unit(0, -1, "back", "go")});

    ConversationView view;
    const long before = testing::heap::allocations.load();
    for (int32_t round = 0; round < 1000; ++round) {
        int32_t index = engine.findCharacter("Intro");
        ASSERT_EQ(engine.startCharacter(index, view), 0);
        ASSERT_EQ(engine.applyQuestion(0, view), 1); // remember
        ASSERT_EQ(engine.applyQuestion(0, view), 0); // forget
        ASSERT_EQ(engine.applyQuestion(1, view), 0); // pay
        ASSERT_EQ(engine.applyQuestion(2, view), RESULT_SWITCH);
        index = engine.findCharacter(view.answer);
        ASSERT_EQ(engine.startCharacter(index, view), 0);
        ASSERT_EQ(engine.applyQuestion(0, view), -1);
    }
    EXPECT_EQ(testing::heap::allocations.load() - before, 0);
}

TEST(StepAllocationTest, TakingSavingAndRestoringTheGameAllocateNothing) {
    ConversationEngine engine;
    engine.disableDescramble();
    const testing::ScratchFolder folder;
    ASSERT_EQ(engine.load(folder.write("small.txt", testing::smallScript()).c_str()), LOAD_OK);
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(engine.findCharacter("Intro"), view), 0);
    GameState state;
    uint8_t bytes[GAME_STATE_V2_MAX_BYTES];
    size_t written = 0;
    const long before = testing::heap::allocations.load();
    ASSERT_EQ(captureGameState(engine, view, state), GAME_STATE_OK);
    ASSERT_EQ(applyGameState(state, engine, view), GAME_STATE_OK);
    ASSERT_EQ(saveGameState(engine, view, bytes, sizeof(bytes), written), GAME_STATE_OK);
    ASSERT_EQ(restoreGameState(engine, view, bytes, written), GAME_STATE_OK);
    EXPECT_EQ(testing::heap::allocations.load() - before, 0);
}

TEST(StepAllocationTest, TellingItemsAllocatesNothing) {
    const std::string text = testing::itemScript();
    LoadResult result;
    auto game = Game::create(Script::fromMemory(text.data(), text.size(), result, true));
    ASSERT_NE(game, nullptr);
    int heard = 0;
    for (auto kind : {GameEventKind::ItemGiven, GameEventKind::ItemTaken}) {
        game->listen(
            kind, [](void* count, const GameEvent&) { ++*static_cast<int*>(count); }, &heard);
    }
    ASSERT_TRUE(game->start("Intro"));
    const long before = testing::heap::allocations.load();
    for (int32_t round = 0; round < 100; ++round) {
        ASSERT_EQ(game->choose(0).kind, StepKind::Continued);
    }
    EXPECT_EQ(testing::heap::allocations.load() - before, 0);
    EXPECT_EQ(heard, 100);
}

TEST(StepAllocationTest, AGameOverASharedScriptAllocatesNothingOnceMade) {
    const std::string text = testing::playScript();
    LoadResult result;
    auto game = Game::create(Script::fromMemory(text.data(), text.size(), result, true));
    ASSERT_NE(game, nullptr);
    const GameListener ignore = [](void*, const GameEvent&) {};
    for (auto kind :
         {GameEventKind::VariableChanged, GameEventKind::Restored, GameEventKind::Reset}) {
        game->listen(kind, ignore, nullptr);
    }
    game->observe("count", ignore, nullptr);
    uint8_t bytes[GAME_STATE_V2_MAX_BYTES];
    size_t written = 0;
    ShownLine lines[16];
    char id[LINE_ID_SIZE];
    const long before = testing::heap::allocations.load();
    for (int32_t round = 0; round < 100; ++round) {
        ASSERT_TRUE(game->start("Intro"));
        ASSERT_GT(game->lookahead(MAX_LOOKAHEAD_DEPTH, lines, 16), 0);
        ASSERT_GT(game->answerLineId(id, sizeof id), 0u);
        ASSERT_EQ(game->choose(0).kind, StepKind::Continued); // sets a variable
        ASSERT_EQ(game->choose(0).kind, StepKind::Continued); // pays
        ASSERT_EQ(game->choose(2).kind, StepKind::Switched);
        ASSERT_EQ(game->save(bytes, sizeof bytes, written), GAME_STATE_OK);
        ASSERT_EQ(game->restore(bytes, written), GAME_STATE_OK);
        ASSERT_TRUE(game->removeVariable("count"));
        game->reset();
    }
    EXPECT_EQ(testing::heap::allocations.load() - before, 0);
}

// Hosts that add and remove listeners for ever, as a script's scenes come and
// go, must not pay for every listener they ever had.
TEST(StepAllocationTest, CListenersHoldMemoryOnlyWhileRegistered) {
    const std::string text = testing::playScript();
    murmex_script* script = nullptr;
    murmex_game* game = nullptr;
    ASSERT_EQ(
        murmex_script_from_bytes(text.data(), text.size(), MURMEX_LOAD_PLAIN, &script, nullptr),
        MURMEX_OK);
    ASSERT_EQ(murmex_game_new(script, &game), MURMEX_OK);
    ASSERT_EQ(murmex_game_start(game, "Intro"), MURMEX_OK);
    const murmex_listener ignore = [](void*, const murmex_event*) {};
    uint32_t first = 0;
    // The first listener makes the game's room for listeners.
    ASSERT_EQ(murmex_game_listen(game, MURMEX_EVENT_VARIABLE, ignore, nullptr, &first), MURMEX_OK);
    const long held = testing::heap::held.load();
    for (int32_t round = 0; round < 1000; ++round) {
        uint32_t id = 0;
        ASSERT_EQ(murmex_game_listen(game, MURMEX_EVENT_MONEY, ignore, nullptr, &id), MURMEX_OK);
        ASSERT_EQ(murmex_game_unlisten(game, id), MURMEX_OK);
    }
    EXPECT_EQ(testing::heap::held.load(), held);

    // One that removes itself while it is told; telling allocates nothing.
    struct Self {
        murmex_game* game;
        uint32_t id;
        int32_t heard;
    } self{game, 0, 0};
    ASSERT_EQ(murmex_game_listen(
                  game, MURMEX_EVENT_VARIABLE,
                  [](void* data, const murmex_event*) {
                      auto* listener = static_cast<Self*>(data);
                      ++listener->heard;
                      murmex_game_unlisten(listener->game, listener->id);
                  },
                  &self, &self.id),
              MURMEX_OK);
    const long before = testing::heap::allocations.load();
    ASSERT_EQ(murmex_game_choose(game, 0), MURMEX_STEP_CONTINUED); // sets a variable
    EXPECT_EQ(testing::heap::allocations.load() - before, 0);
    EXPECT_EQ(self.heard, 1);
    EXPECT_EQ(testing::heap::held.load(), held);
    murmex_game_free(game);
    murmex_script_free(script);
}

} // namespace
} // namespace murmex
