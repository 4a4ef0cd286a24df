// Once a script is in memory, playing it and taking, saving and restoring the
// game must not touch the heap: every allocation in this binary is counted
// through a replaced operator new.
#include "murmex/conversation_engine.h"
#include "murmex/game_state.h"
#include "engine/script_builder.h"
#include "support/tool_test_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocationCount{0};
}

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocationCount;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
// The replacements pair malloc with free; GCC cannot see that operator new
// above is ours and warns about the pairing when sanitizers are on.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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
                  unit(1, -1, "bye", "bye", ACT_NONE), unit(0, 0, "smith", "-", ACT_COMM, "Smith")});
    addCharacter(engine, "Smith", {unit(0, 0, "", "forge"), unit(0, -1, "back", "go")});

    ConversationView view;
    const long before = allocationCount.load();
    for (int32_t round = 0; round < 1000; ++round) {
        int32_t index = engine.findCharacter("Intro");
        ASSERT_EQ(engine.startCharacter(index, view), 0);
        ASSERT_EQ(engine.applyQuestion(0, view), 1);  // remember
        ASSERT_EQ(engine.applyQuestion(0, view), 0);  // forget
        ASSERT_EQ(engine.applyQuestion(1, view), 0);  // pay
        ASSERT_EQ(engine.applyQuestion(2, view), RESULT_SWITCH);
        index = engine.findCharacter(view.answer);
        ASSERT_EQ(engine.startCharacter(index, view), 0);
        ASSERT_EQ(engine.applyQuestion(0, view), -1);
    }
    EXPECT_EQ(allocationCount.load() - before, 0);
}

TEST(StepAllocationTest, TakingSavingAndRestoringTheGameAllocateNothing) {
    ConversationEngine engine;
    engine.disableDescramble();
    const testing::ScratchFolder folder;
    ASSERT_EQ(engine.load(folder.write("small.txt", testing::smallScript()).c_str()), LOAD_OK);
    ConversationView view;
    ASSERT_EQ(engine.startCharacter(engine.findCharacter("Intro"), view), 0);
    GameState state;
    uint8_t bytes[GAME_STATE_MAX_BYTES];
    size_t written = 0;
    const long before = allocationCount.load();
    ASSERT_EQ(captureGameState(engine, view, state), GAME_STATE_OK);
    ASSERT_EQ(applyGameState(state, engine, view), GAME_STATE_OK);
    ASSERT_EQ(saveGameState(engine, view, bytes, sizeof(bytes), written), GAME_STATE_OK);
    ASSERT_EQ(restoreGameState(engine, view, bytes, written), GAME_STATE_OK);
    EXPECT_EQ(allocationCount.load() - before, 0);
}

} // namespace
} // namespace murmex
