// The situations an exploration has met, each kept once and compactly: who is
// talked to, in which state, and the number of the memory's layout (its
// occupied slots). The slot of each variable is part of a situation because
// removal leaves no marker: whether a variable is found can depend on where
// the others stand.
#pragma once

#include "murmex/game_state.h"
#include "tools/analysis/variable_layouts.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace murmex::tool {

// What decides what the player is offered from here on. Money is left out:
// nothing tests it. So are the states of the characters not talked to: every
// start resets a character's state before anything reads it.
struct SituationKey {
    int32_t character = 0;
    int32_t state = 0;
    // As VariableLayouts numbers it.
    uint32_t layout = 0;
};

// A stored situation and how it was first reached.
struct SituationRecord {
    uint32_t layout;
    // The situation it was reached from; itself for the first one.
    uint32_t parent;
    // Questions chosen since the start of the game.
    uint32_t depth;
    int32_t state;
    // The talk unit of the parent's character whose question led here.
    uint16_t unit;
    uint8_t character;
};

class SituationStore {
  public:
    // Index of the situation, or -1 when it was never stored. Remembers the
    // situation found among the recent ones.
    int64_t find(const SituationKey& key);

    // Stores a situation not stored before; returns its index.
    uint32_t add(const SituationKey& key, uint32_t parent, uint32_t depth, uint16_t unit);

    // The game state of a stored situation apart from its memory: its
    // character in its state, every other character in state 0 (a start
    // resets it before anything reads it), no answer and no questions. The
    // character count is the caller's.
    void readGameState(uint32_t index, GameState& state) const;

    // The memory layouts the situations refer to.
    VariableLayouts& layouts() { return memoryLayouts; }
    const VariableLayouts& layouts() const { return memoryLayouts; }

    const SituationRecord& record(uint32_t index) const { return records[index]; }
    size_t size() const { return records.size(); }
    // Bytes the records, the layouts and the tables take, the tables' next
    // growth included.
    uint64_t bytes() const;

  private:
    static uint64_t hashOf(const SituationKey& key);
    void grow();

    // deque: grows by blocks, so a large store never needs a second copy of
    // itself while it grows.
    std::deque<SituationRecord> records;
    VariableLayouts memoryLayouts;
    // A situation with its whole key, as the table of recent ones keeps it.
    struct Entry {
        uint32_t layout;
        int32_t state;
        // The record's index plus one; 0 marks a free entry.
        uint32_t indexPlusOne;
        uint32_t character;
    };
    static bool holds(const Entry& entry, const SituationKey& key);
    // Open addressing over record indices. An entry keeps the high half of
    // its situation's hash besides the index, so a probe reads a record only
    // where that half matches, nearly always the situation sought; eight
    // bytes an entry keep the table small.
    struct Slot {
        uint32_t hashHigh;
        // The record's index plus one; 0 marks a free slot.
        uint32_t indexPlusOne;
    };
    static void insert(std::vector<Slot>& into, uint64_t hash, uint32_t index);
    std::vector<Slot> table;
    // The situations found or added lately, one per entry, where the low bits
    // of the hash put them; an entry is overwritten by the next one there.
    // Most steps lead to a situation met a few steps before (the start after
    // a goodbye, the next character after a hand-over), and this small table
    // stays in the processor's cache where the large one cannot.
    std::vector<Entry> recent;
};

} // namespace murmex::tool
