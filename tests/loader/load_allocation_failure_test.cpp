// A load whose allocations fail, one at a time: for every N the Nth
// allocation of the load fails. Each such load reports memory exhaustion,
// leaves an engine that later calls can't trip over, and gives back all it
// took when the engine is destroyed. The binary replaces the global operator
// new to fail on request and to count what is still held.
#include "mill_header.h"
#include "murmex/conversation_engine.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {
// The nothrow allocation counted down to 0 fails; negative: none fails.
long failAfter = -1;
// Nothrow allocations made while counting.
long nothrowAllocations = 0;
// Allocations not yet released, of any kind.
long liveAllocations = 0;

void* allocate(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory != nullptr) {
        ++liveAllocations;
    }
    return memory;
}

void* allocateNothrow(std::size_t size) {
    ++nothrowAllocations;
    if (failAfter >= 0 && failAfter-- == 0) {
        return nullptr;
    }
    return allocate(size);
}

void release(void* memory) {
    if (memory != nullptr) {
        --liveAllocations;
        std::free(memory);
    }
}
} // namespace

void* operator new(std::size_t size) {
    if (void* memory = allocate(size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateNothrow(size);
}
// The replacements pair malloc with free; GCC cannot see that operator new
// above is ours and warns about the pairing when sanitizers are on.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept {
    release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    release(memory);
}
void operator delete[](void* memory) noexcept {
    release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    release(memory);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace murmex {
namespace {

using testing::HEADER;
using testing::ScratchFolder;

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

// Loads the file with the allocation numbered failAt (from 0) failing, or
// none for a negative failAt; returns the load's result.
int32_t loadFailing(ConversationEngine& engine, const std::string& path, long failAt) {
    nothrowAllocations = 0;
    failAfter = failAt;
    const int32_t result = engine.load(path.c_str());
    failAfter = -1;
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
        allocations = nothrowAllocations;
    }
    // The pool, two characters and six talk units.
    ASSERT_EQ(allocations, 9);

    for (long failing = 0; failing < allocations; ++failing) {
        SCOPED_TRACE("allocation " + std::to_string(failing) + " fails");
        const long heldBefore = liveAllocations;
        {
            ConversationEngine engine;
            engine.disableDescramble();
            EXPECT_EQ(loadFailing(engine, path, failing), LOAD_MEMORY);
            // The pool is the first allocation and its failure has no text;
            // a record's failure says so.
            EXPECT_STREQ(engine.errorMessage, failing == 0 ? "" : "Not enougth memory!");
            useWhatIsLeft(engine);
        }
        EXPECT_EQ(liveAllocations, heldBefore) << "the engine kept memory after destruction";
    }
}

TEST(LoadAllocationFailure, LoadAfterAFailedPoolAllocationFillsThePoolExactly) {
    ScratchFolder folder;
    const std::string path = folder.write("script.chr", SCENE);
    ConversationEngine engine;
    engine.disableDescramble();
    ASSERT_EQ(loadFailing(engine, path, 0), LOAD_MEMORY);
    // Nothing was made, so the engine may load again, and its pool must be
    // sized by that load alone.
    ASSERT_EQ(loadFailing(engine, path, -1), LOAD_OK);
    EXPECT_EQ(static_cast<uint32_t>(engine.used), engine.blockSize());
    EXPECT_EQ(engine.characterCount, 2);
}

} // namespace
} // namespace murmex
