// Probing, wrap-around, a full table and removal without a marker.
#include "murmex/memory_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace murmex {
namespace {

TEST(MemoryStoreTest, NewStoreIsEmpty) {
    MemoryStore memory;
    EXPECT_EQ(memory.money, 0);
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        EXPECT_EQ(memory.valueAt(slot), 0);
    }
    int32_t freeSlot = -7;
    EXPECT_EQ(memory.lookup("abc", &freeSlot), -1);
    EXPECT_EQ(freeSlot, 294);
}

TEST(MemoryStoreTest, HashSumsSignedBytesModulo500) {
    struct Case {
        const char* name;
        int32_t expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 294},
        {"\xE9", 477},             // -23 maps to the non-negative remainder
        {"\x80\x80\x80\x80", 488}, // -512
        {"zzzzzz", 232},           // 732
        // Only the first 19 bytes count.
        {"aaaaaaaaaaaaaaaaaaaXYZ", (19 * 97) % 500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemoryStore::hash(c.name), c.expected) << c.name;
    }
}

TEST(MemoryStoreTest, SetTwiceKeepsOneSlotWithSecondValue) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("gold", 1), 0);
    ASSERT_EQ(memory.set("gold", 7), 0);
    const int32_t slot = memory.lookup("gold");
    EXPECT_EQ(slot, MemoryStore::hash("gold"));
    EXPECT_EQ(memory.valueAt(slot), 7);
    EXPECT_EQ(memory.valueAt(slot + 1), 0);
}

TEST(MemoryStoreTest, CollidingNamesTakeConsecutiveSlots) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("ab", 1), 0);
    ASSERT_EQ(memory.set("ba", 2), 0);
    EXPECT_EQ(memory.lookup("ab"), 195);
    EXPECT_EQ(memory.lookup("ba"), 196);
    EXPECT_EQ(memory.valueAt(196), 2);
}

TEST(MemoryStoreTest, ProbeWrapsFromLastSlotToFirst) {
    MemoryStore memory;
    // Anagrams share their byte sum: a + b + c + d + i = 499.
    const std::string first = "abcdi";
    const std::string second = "bacdi";
    const std::string third = "idcba";
    ASSERT_EQ(MemoryStore::hash(first.c_str()), 499);
    ASSERT_EQ(memory.set(first.c_str(), 1), 0);
    ASSERT_EQ(memory.set(second.c_str(), 2), 0);
    ASSERT_EQ(memory.set(third.c_str(), 3), 0);
    EXPECT_EQ(memory.lookup(first.c_str()), 499);
    EXPECT_EQ(memory.lookup(second.c_str()), 0);
    EXPECT_EQ(memory.lookup(third.c_str()), 1);
}

TEST(MemoryStoreTest, FullTable) {
    MemoryStore memory;
    for (int32_t i = 0; i < MEMORY_SLOTS; ++i) {
        ASSERT_EQ(memory.set(("n" + std::to_string(i)).c_str(), i), 0) << i;
    }
    int32_t freeSlot = -7;
    EXPECT_EQ(memory.lookup("newcomer", &freeSlot), -2);
    EXPECT_EQ(freeSlot, -7);
    EXPECT_EQ(memory.set("newcomer", 1), -1);
    EXPECT_EQ(memory.lookup("newcomer"), -2);
    EXPECT_EQ(memory.set("n42", 4200), 0);
    EXPECT_EQ(memory.valueAt(memory.lookup("n42")), 4200);
    EXPECT_EQ(memory.remove("newcomer"), -1);
}

TEST(MemoryStoreTest, LastEmptySlotIsFoundWherever) {
    for (const int32_t hole : {0, 137, 499}) {
        MemoryStore memory;
        for (int32_t i = 0; i < MEMORY_SLOTS; ++i) {
            ASSERT_EQ(memory.set(("n" + std::to_string(i)).c_str(), i), 0);
        }
        ASSERT_EQ(memory.remove(std::string(memory.names[hole]).c_str()), 0);
        ASSERT_EQ(memory.set("last", 5), 0) << hole;
        EXPECT_EQ(memory.lookup("last"), hole);
    }
}

TEST(MemoryStoreTest, EmptyNameIsNeverFound) {
    MemoryStore memory;
    EXPECT_EQ(memory.set("", 3), 0);
    int32_t freeSlot = -7;
    EXPECT_EQ(memory.lookup("", &freeSlot), -1);
    EXPECT_EQ(freeSlot, 0);
    EXPECT_EQ(memory.remove(""), -1);
}

TEST(MemoryStoreTest, NamesDifferByCase) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("Gold", 1), 0);
    EXPECT_EQ(memory.lookup("gold"), -1);
    ASSERT_EQ(memory.set("gold", 2), 0);
    EXPECT_EQ(memory.valueAt(memory.lookup("Gold")), 1);
    EXPECT_EQ(memory.valueAt(memory.lookup("gold")), 2);
}

TEST(MemoryStoreTest, RemovalLeavesNoMarker) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("ab", 1), 0); // slot 195
    ASSERT_EQ(memory.set("ba", 2), 0); // slot 196, probed past "ab"
    ASSERT_EQ(memory.remove("ab"), 0);

    int32_t freeSlot = -7;
    EXPECT_EQ(memory.lookup("ba", &freeSlot), -1);
    EXPECT_EQ(freeSlot, 195);
    EXPECT_EQ(memory.remove("ba"), -1);

    ASSERT_EQ(memory.set("ba", 9), 0);
    EXPECT_EQ(memory.lookup("ba"), 195);
    ASSERT_EQ(memory.remove("ba"), 0);
    EXPECT_EQ(memory.lookup("ba"), -1);
    // The earlier entry of "ba" is still in its slot, out of reach.
    EXPECT_STREQ(memory.names[196], "ba");
    EXPECT_EQ(memory.valueAt(196), 2);

    // Once another name takes the emptied slot, the old entry is found again.
    ASSERT_EQ(memory.set("ab", 3), 0);
    EXPECT_EQ(memory.lookup("ba"), 196);
    EXPECT_EQ(memory.valueAt(196), 2);
}

TEST(MemoryStoreTest, LongNamesAreCutTo19Bytes) {
    MemoryStore memory;
    const char* longName = "a_very_long_variable_name_indeed";
    ASSERT_EQ(memory.set(longName, 11), 0);
    const int32_t slot = memory.lookup(longName);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(std::string(memory.names[slot]), std::string(longName, 19));
    // A name equal in its first 19 bytes is the same variable.
    EXPECT_EQ(memory.lookup("a_very_long_variable_other"), slot);
    EXPECT_EQ(memory.lookup("a_very_long_variabl"), slot);
    EXPECT_EQ(memory.lookup("a_very_long_variab"), -1);
    EXPECT_EQ(memory.remove(longName), 0);
    EXPECT_EQ(memory.lookup("a_very_long_variabl"), -1);
}

TEST(MemoryStoreTest, MoneyWrapsAround) {
    MemoryStore memory;
    memory.addMoney(INT32_MAX);
    memory.addMoney(1);
    EXPECT_EQ(memory.money, INT32_MIN);
    memory.subtractMoney(1);
    EXPECT_EQ(memory.money, INT32_MAX);
    memory.subtractMoney(INT32_MIN);
    EXPECT_EQ(memory.money, -1);
}

TEST(MemoryStoreTest, ValueAtOutOfRangeIsZero) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("abc", 5), 0);
    EXPECT_EQ(memory.valueAt(-1), 0);
    EXPECT_EQ(memory.valueAt(MEMORY_SLOTS), 0);
}

TEST(MemoryStoreTest, ChangeCountFollowsWritesToVariablesOnly) {
    MemoryStore memory;
    ASSERT_EQ(memory.set("gold", 1), 0);
    struct Case {
        const char* what;
        void (*call)(MemoryStore&);
        uint32_t added;
    };
    const Case cases[] = {
        {"set new", [](MemoryStore& m) { m.set("key", 1); }, 1},
        {"set other value", [](MemoryStore& m) { m.set("gold", 2); }, 1},
        {"set same value", [](MemoryStore& m) { m.set("gold", 1); }, 0},
        {"remove", [](MemoryStore& m) { m.remove("gold"); }, 1},
        {"remove missing", [](MemoryStore& m) { m.remove("none"); }, 0},
        {"restoreSlot", [](MemoryStore& m) { m.restoreSlot(7, "gold", 1); }, 1},
        {"restoreSlot out of range", [](MemoryStore& m) { m.restoreSlot(-1, "x", 1); }, 0},
        {"reads and money",
         [](MemoryStore& m) {
             m.lookup("gold");
             m.valueAt(0);
             m.addMoney(3);
             m.subtractMoney(5);
         },
         0},
    };
    for (const Case& c : cases) {
        MemoryStore changed = memory;
        ASSERT_EQ(changed.variableChanges(), memory.variableChanges()) << "copies carry it";
        c.call(changed);
        EXPECT_EQ(changed.variableChanges() - memory.variableChanges(), c.added) << c.what;
    }
}

// The plain probe, slot by slot, as the store's searches must behave: stop at
// the first slot that holds the name (cut to 19 bytes) or is empty.
int32_t plainLookup(const MemoryStore& memory, const std::string& name, int32_t* freeSlot) {
    const std::string cut = name.substr(0, MAX_NAME_LENGTH);
    const int32_t start = MemoryStore::hash(name.c_str());
    int32_t slot = start;
    do {
        const bool empty = memory.names[slot][0] == 0;
        if (empty || cut == memory.names[slot]) {
            if (!empty) {
                return slot;
            }
            *freeSlot = slot;
            return -1;
        }
        slot = (slot + 1) % MEMORY_SLOTS;
    } while (slot != start);
    return -2;
}

TEST(MemoryStoreTest, TaggedSearchAgreesWithThePlainProbe) {
    // Few distinct byte sums and many removals make long runs and stale
    // entries, where a shortcut in the search would show.
    std::mt19937 random(20261207);
    const char letters[] = "abcAB\xE9";
    for (int round = 0; round < 8; ++round) {
        MemoryStore memory;
        for (int step = 0; step < 4000; ++step) {
            std::string name;
            const int length = static_cast<int>(random() % 22);
            for (int i = 0; i < length; ++i) {
                name += letters[random() % 6];
            }
            int32_t expectedFree = -7;
            int32_t actualFree = -7;
            const int32_t expected = plainLookup(memory, name, &expectedFree);
            ASSERT_EQ(memory.lookup(name.c_str(), &actualFree), expected) << name;
            ASSERT_EQ(actualFree, expected == -1 ? expectedFree : -7) << name;
            if (random() % 3 == 0) {
                ASSERT_EQ(memory.remove(name.c_str()), expected >= 0 ? 0 : -1);
            } else {
                ASSERT_EQ(memory.set(name.c_str(), step), expected == -2 ? -1 : 0);
            }
        }
    }
}

} // namespace
} // namespace murmex
