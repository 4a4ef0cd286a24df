// Memory layouts as the explorer keeps them: one number per distinct set of
// occupied slots, names and values, and a store rebuilt from its number that
// behaves like the one it was read from.
#include "tools/analysis/variable_layouts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace murmex::tool {
namespace {

using Variables = std::vector<std::pair<const char*, int32_t>>;

MemoryStore storeWith(const Variables& variables, const char* removed = nullptr) {
    MemoryStore memory;
    for (const auto& [name, value] : variables) {
        memory.set(name, value);
    }
    if (removed != nullptr) {
        memory.remove(removed);
    }
    return memory;
}

TEST(VariableLayouts, EqualLayoutsShareANumberAndOthersDoNot) {
    VariableNames names;
    VariableLayouts layouts;
    // "ab" and "ba" start their search at the same slot, so their order
    // decides which one takes it.
    const uint32_t first = layouts.numberOf(storeWith({{"ab", 1}, {"ba", 2}}), names);
    EXPECT_EQ(layouts.numberOf(storeWith({{"ab", 1}, {"ba", 2}}), names), first);
    const std::vector<MemoryStore> others = {
        storeWith({{"ab", 1}, {"ba", 3}}),                // another value
        storeWith({{"ba", 2}, {"ab", 1}}),                // the same names in other slots
        storeWith({{"ab", 1}}),                           // one variable fewer
        storeWith({{"x", 0}, {"ab", 1}, {"ba", 2}}, "x"), // removed again: same slots
        MemoryStore(),
    };
    std::vector<uint32_t> numbers;
    for (const MemoryStore& other : others) {
        numbers.push_back(layouts.numberOf(other, names));
    }
    EXPECT_EQ(numbers, (std::vector<uint32_t>{1, 2, 3, first, 4}));
}

TEST(VariableLayouts, RestoredStoreHoldsTheSameVariables) {
    VariableNames names;
    VariableLayouts layouts;
    // "ba" sits past "ab"'s slot; with "ab" removed, only the slot tells
    // that "ba" is not found.
    const MemoryStore original = storeWith({{"ab", 1}, {"ba", -7}, {"key", 3}}, "ab");
    const uint32_t number = layouts.numberOf(original, names);
    MemoryStore restored;
    layouts.restore(number, names, restored);
    EXPECT_EQ(layouts.numberOf(restored, names), number);
    EXPECT_EQ(restored.lookup("ba"), original.lookup("ba"));
    EXPECT_EQ(restored.lookup("key"), original.lookup("key"));
    EXPECT_NE(layouts.numberOf(storeWith({{"ba", -7}, {"key", 3}}), names), number);
}

TEST(VariableLayouts, ChangedStoreHoldsExactlyTheNewLayout) {
    VariableNames names;
    VariableLayouts layouts;
    const std::vector<MemoryStore> stores = {
        MemoryStore(),
        storeWith({{"ab", 1}, {"ba", 2}}),
        storeWith({{"ba", 2}, {"ab", 1}}),                    // the same names in other slots
        storeWith({{"ab", 1}, {"ba", 3}, {"key", 3}}),        // another value, one more
        storeWith({{"ab", 1}, {"ba", -7}, {"key", 3}}, "ab"), // "ba" out of reach
    };
    std::vector<uint32_t> numbers;
    for (const MemoryStore& store : stores) {
        numbers.push_back(layouts.numberOf(store, names));
    }
    for (size_t from = 0; from < stores.size(); ++from) {
        for (size_t to = 0; to < stores.size(); ++to) {
            MemoryStore memory;
            layouts.restore(numbers[from], names, memory);
            layouts.change(numbers[from], numbers[to], names, memory);
            EXPECT_EQ(layouts.numberOf(memory, names), numbers[to]) << from << " to " << to;
            for (const char* name : {"ab", "ba", "key"}) {
                EXPECT_EQ(memory.lookup(name), stores[to].lookup(name)) << from << " to " << to;
            }
        }
    }
}

TEST(VariableLayouts, SameVariablesIgnoresMoneyOnly) {
    const MemoryStore original = storeWith({{"ab", 1}});
    MemoryStore copy = original;
    copy.addMoney(5);
    EXPECT_TRUE(sameVariables(copy, original));
    copy.set("ab", 2);
    EXPECT_FALSE(sameVariables(copy, original));
    copy.set("ab", 1);
    copy.set("cd", 1);
    EXPECT_FALSE(sameVariables(copy, original));
}

} // namespace
} // namespace murmex::tool
