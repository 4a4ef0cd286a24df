// The situations an exploration has met, each kept once and compactly: who is
// talked to, in which state, and the memory's occupied slots. The slot of each
// variable is part of a situation because removal leaves no marker: whether a
// variable is found can depend on where the others stand.
#pragma once

#include "murmex/game_state.h"
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
// bytes in a stored situation.
class VariableNames {
  public:
    // Number of the name held in an occupied slot of the store, numbering it
    // on first sight.
    uint16_t numberOf(const MemoryStore& memory, int32_t slot);
    // The slot bytes for a number, as the store writes a name: the name and
    // zeros up to NAME_SIZE.
    const char* slotBytes(uint16_t number) const { return names[number].data; }

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

// What decides what the player is offered from here on. Money is left out:
// nothing tests it. So are the states of the characters not talked to: every
// start resets a character's state before anything reads it.
struct SituationKey {
    int32_t character = 0;
    int32_t state = 0;
    // Occupied slots in slot order.
    std::vector<StoredVariable> variables;
};

// A stored situation and how it was first reached.
struct SituationRecord {
    uint64_t hash;
    // Index of its first variable in the store's variable list.
    uint64_t firstVariable;
    // The situation it was reached from; itself for the first one.
    uint32_t parent;
    // Questions chosen since the start of the game.
    uint32_t depth;
    int32_t state;
    uint16_t variableCount;
    // The talk unit of the parent's character whose question led here.
    uint16_t unit;
    uint8_t character;
};

class SituationStore {
  public:
    // Reads the key of a situation from the engine's view of it.
    static void readKey(const MemoryStore& memory, int32_t character, int32_t state,
                        VariableNames& names, SituationKey& key);

    // Index of the situation, or -1 when it was never stored.
    int64_t find(const SituationKey& key) const;

    // Stores a situation not stored before; returns its index.
    uint32_t add(const SituationKey& key, uint32_t parent, uint32_t depth, uint16_t unit);

    // The game state of a stored situation: its character in its state, every
    // other character in state 0 (a start resets it before anything reads
    // it), exactly the memory's slots, no answer and no questions. The
    // character count is the caller's.
    void readGameState(uint32_t index, const VariableNames& names, GameState& state) const;

    const SituationRecord& record(uint32_t index) const { return records[index]; }
    size_t size() const { return records.size(); }
    // Bytes the records and their variables take.
    uint64_t bytes() const;

  private:
    static uint64_t hashOf(const SituationKey& key);
    bool equals(const SituationRecord& record, const SituationKey& key) const;
    void grow();

    // deque: grows by blocks, so a large store never needs a second copy of
    // itself while it grows.
    std::deque<SituationRecord> records;
    std::deque<StoredVariable> variables;
    // Open addressing over record indices plus one; 0 marks a free entry.
    std::vector<uint32_t> table;
};

} // namespace murmex::tool
