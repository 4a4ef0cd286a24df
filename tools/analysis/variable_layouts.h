// The memory layouts an exploration meets, each kept once: the occupied slots
// of a memory store with their names and values. Most situations differ only
// in who is talked to and in which state, so thousands of them share one
// layout, and a situation needs only the layout's number.
#pragma once

#include "murmex/memory_store.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace murmex::tool {

// One occupied slot of the memory store.
struct StoredVariable {
    // Slot in the store, 0 to MEMORY_SLOTS - 1.
    uint16_t slot;
    // Which name the slot holds, as VariableNames numbers it.
    uint16_t name;
    int32_t value;
};

// Numbers the names a memory store can hold, so that a slot's name takes two
// bytes in a stored layout.
class VariableNames {
  public:
    // Number of the name held in an occupied slot of the store, numbering it
    // on first sight.
    uint16_t numberOf(const MemoryStore& memory, int32_t slot);
    // The slot bytes for a number, as the store writes a name: the name and
    // zeros up to NAME_SIZE.
    const char* slotBytes(uint16_t number) const { return names[number].data; }

    // Bytes the names and their index take.
    uint64_t bytes() const;

  private:
    struct SlotName {
        char data[NAME_SIZE];
    };
    std::map<std::string, uint16_t> numbers;
    std::vector<SlotName> names;
    // The name last seen in each slot and its number. A slot keeps its
    // variable over most steps, so comparing its bytes saves a map lookup;
    // the store pads every name it writes with zeros, so equal names have
    // equal bytes.
    SlotName lastSeen[MEMORY_SLOTS] = {};
    uint16_t lastNumber[MEMORY_SLOTS] = {};
    bool seen[MEMORY_SLOTS] = {};
};

// What VariableLayouts::numberOf gives for a layout it was not to number.
inline constexpr uint32_t NEW_LAYOUT = UINT32_MAX;

class VariableLayouts {
  public:
    // Number of the layout of the store's occupied slots, in slot order,
    // numbering it on first sight; NEW_LAYOUT for one never seen when
    // `mayAdd` is false, as once the search's memory is used up.
    uint32_t numberOf(const MemoryStore& memory, VariableNames& names, bool mayAdd = true);

    // Puts exactly the layout's slots into an empty store.
    void restore(uint32_t layout, const VariableNames& names, MemoryStore& memory) const;

    // Turns a store that holds exactly layout `from` into one that holds
    // exactly layout `to`, writing only the slots in which they differ;
    // neighbouring situations mostly differ in a variable or two.
    void change(uint32_t from, uint32_t to, const VariableNames& names, MemoryStore& memory) const;

    // Bytes the layouts and their table take, the table's next growth
    // included.
    uint64_t bytes() const;

  private:
    struct Layout {
        uint64_t hash;
        // Index of its first variable in the variable list.
        uint64_t first;
        uint32_t count;
    };
    static uint64_t hashOf(const std::vector<StoredVariable>& variables);
    bool equals(const Layout& layout, const std::vector<StoredVariable>& variables) const;
    void grow();

    // deque: grows by blocks, so a large list never needs a second copy of
    // itself while it grows.
    std::deque<Layout> layouts;
    std::deque<StoredVariable> variables;
    // Open addressing over layout numbers plus one; 0 marks a free entry.
    std::vector<uint32_t> table;
    // The layout being read, kept to spare an allocation per read.
    std::vector<StoredVariable> scratch;
};

// True when both stores hold the same variables with the same values in the
// same slots, whatever their money.
bool sameVariables(const MemoryStore& a, const MemoryStore& b);

} // namespace murmex::tool
