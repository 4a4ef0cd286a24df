// A load whose allocations fail, one at a time: for every N the Nth
// allocation of the load fails. Each such load reports memory exhaustion,
// leaves an engine that later calls can't trip over, and gives back all it
// took when the engine is destroyed. The binary replaces the global operator
// new to fail on request and to count what is still held.
#include "mill_header.h"
#include "murmex/conversation_engine.h"
#include "support/replaced_new.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace murmex {
namespace {

using testing::HEADER;
using testing::ScratchFolder;
namespace heap = testing::heap;

// Two characters, a hand-over and conditions: records of every kind.
const std::string SCENE =
    HEADER +
    "\"Intro\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Welcome.\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"1\" Q = \"Who?\" A = \"Me.\" ACT = \"ACT_ADD_MEM\" PARAM = \"met\" VAL = "
    "\"1\" }\r\n"
    "  { S = \"1\" N = \"0\" Q = \"Bye.\" A = \"Bye.\" ACT = \"ACT_NONE\" "
    "{ ID = \"met\" OP = \"==\" VAL = \"1\" } }\r\n"
    "  { S = \"1\" N = \"0\" Q = \"Smith?\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Smith\" }\r\n"
    "}\r\n"
    "\"Smith\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hot today.\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"-1\" Q = \"Back.\" A = \"Go.\" ACT = \"ACT_ADD_MONEY\" PARAM = \"c\" VAL "
    "= \"5\" }\r\n"
    "}\r\n";

// A load allocates its read chunk first, then the pool.
constexpr long POOL_ALLOCATION = 1;

// Loads the file with the allocation numbered failAt (from 0) failing, or
// none for a negative failAt; returns the load's result.
int32_t loadFailing(ConversationEngine& engine, const std::string& path, long failAt) {
    heap::nothrowAllocations = 0;
    heap::failNothrowAfter = failAt;
    const int32_t result = engine.load(path.c_str());
    heap::failNothrowAfter = -1;
    return result;
}

// Whatever the failed load left: every character can be looked up, started
// and, where it starts, talked to, without a crash.
void useWhatIsLeft(ConversationEngine& engine) {
    ConversationView view;
    engine.findCharacter("Intro");
    engine.findCharacter("Smith");
    for (int32_t index = -1; index <= engine.characterCount; ++index) {
        if (engine.startCharacter(index, view) == 0) {
            engine.applyQuestion(0, view);
        }
    }
}

TEST(LoadAllocationFailure, EveryFailedAllocationReportsMemoryAndLeaksNothing) {
    ScratchFolder folder;
    const std::string path = folder.write("script.chr", SCENE);
    long allocations = 0;
    {
        ConversationEngine engine;
        engine.disableDescramble();
        ASSERT_EQ(loadFailing(engine, path, -1), LOAD_OK);
        allocations = heap::nothrowAllocations;
    }
    // The read chunk, the pool, two characters and six talk units.
    ASSERT_EQ(allocations, 10);

    for (long failing = 0; failing < allocations; ++failing) {
        SCOPED_TRACE("allocation " + std::to_string(failing) + " fails");
        const long heldBefore = heap::held;
        {
            ConversationEngine engine;
            engine.disableDescramble();
            EXPECT_EQ(loadFailing(engine, path, failing), LOAD_MEMORY);
            // The pool is the second allocation and its failure has no text;
            // the read chunk's and a record's failure say so.
            EXPECT_STREQ(engine.errorMessage,
                         failing == POOL_ALLOCATION ? "" : "Not enougth memory!");
            useWhatIsLeft(engine);
        }
        EXPECT_EQ(heap::held.load(), heldBefore) << "the engine kept memory after destruction";
    }
}

TEST(LoadAllocationFailure, LoadAfterAFailedPoolAllocationFillsThePoolExactly) {
    ScratchFolder folder;
    const std::string path = folder.write("script.chr", SCENE);
    ConversationEngine engine;
    engine.disableDescramble();
    ASSERT_EQ(loadFailing(engine, path, POOL_ALLOCATION), LOAD_MEMORY);
    // Nothing was made, so the engine may load again, and its pool must be
    // sized by that load alone.
    ASSERT_EQ(loadFailing(engine, path, -1), LOAD_OK);
    EXPECT_EQ(static_cast<uint32_t>(engine.used), engine.blockSize());
    EXPECT_EQ(engine.characterCount, 2);
}

} // namespace
} // namespace murmex
