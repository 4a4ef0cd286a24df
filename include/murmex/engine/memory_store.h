// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// The game state that scripts test and change: named integer variables in a
// fixed hash table with linear probing, and a money counter.
#pragma once

#include <cstdint>

namespace murmex {

// Number of named variables the game can hold at once. Fixed so that a
// conversation step never allocates.
constexpr int32_t MEMORY_SLOTS = 500;

// Bytes of one name slot: at most 19 name bytes and the terminating zero.
constexpr int32_t NAME_SIZE = 20;

// Names longer than this are cut to their first NAME_SIZE - 1 bytes before
// hashing, comparing and storing, so a name that set() accepted is found again.
constexpr int32_t MAX_NAME_LENGTH = NAME_SIZE - 1;

class MemoryStore {
  public:
    MemoryStore();
    virtual ~MemoryStore() = default;
    // Copies are whole-array copies; a tool that tries many game states
    // saves and restores the store this way.
    MemoryStore(const MemoryStore& other);
    MemoryStore& operator=(const MemoryStore& other);

    // Slot at which the search for name starts, 0 to MEMORY_SLOTS - 1: the sum
    // of the name's bytes taken as signed 8-bit numbers, modulo 500. A negative
    // sum (bytes above 127) maps to the non-negative remainder.
    static int32_t hash(const char* name);

    // Slot of an existing variable (0 to 499); -1 when it does not exist, with
    // the empty slot where the search stopped stored into freeSlot if given;
    // -2 when it does not exist and every slot holds another name.
    int32_t lookup(const char* name, int32_t* freeSlot = nullptr) const;

    // Gives the variable the value, creating it if needed. 0 on success, -1 when
    // the name is new and the table is full (nothing changes then).
    int32_t set(const char* name, int32_t value);

    // Empties the variable's slot without leaving a marker: later names of the
    // same probe run stop being found until the slot is taken again. 0 on
    // success, -1 when the variable does not exist.
    int32_t remove(const char* name);

    // Value held in an occupied slot; 0 for an empty slot or one out of range.
    int32_t valueAt(int32_t slot) const;

    // Puts a variable into the given slot, wherever a search would place it,
    // as a saved game restores the exact layout of the table. For tools; the
    // runtime only uses set() and remove().
    void restoreSlot(int32_t slot, const char* name, int32_t value);

    // Adds or subtracts in wrapping 32-bit arithmetic, as the money actions do.
    void addMoney(int32_t amount);
    void subtractMoney(int32_t amount);

    // Counts the calls of set(), remove() and restoreSlot() that wrote a name
    // slot or a value; a failed call, or a set() of the value a variable
    // already holds, writes nothing and does not count, nor does money.
    // Copies carry the count, so a caller that notes it before a step knows
    // afterwards whether the variables may differ, without comparing the
    // whole table. It wraps after 2^32 writes.
    uint32_t variableChanges() const { return changes; }

    // Name slots; a slot whose first byte is zero is empty, whatever follows.
    // Change them only through set() and remove(), which keep the slot tags
    // below in step.
    char names[MEMORY_SLOTS][NAME_SIZE];
    // values[i] belongs to the variable in slot i; an empty slot's is never read.
    int32_t values[MEMORY_SLOTS];
    // The money counter; nothing in the engine reads it, the money actions change it.
    int32_t money;

  private:
    // What a search needs to know of a name: where it starts, the tag its
    // slot carries, and its bytes cut to MAX_NAME_LENGTH.
    struct NameKey {
        int32_t start;
        uint8_t tag;
    };
    static NameKey keyOf(const char* name);
    bool slotHolds(int32_t slot, const char* name) const;
    bool slotEmpty(int32_t slot) const { return names[slot][0] == 0; }
    // First slot in [from, to) whose tag is 0 (empty) or `tag`, or -1.
    int32_t nextCandidate(int32_t from, int32_t to, uint8_t tag) const;

    // One byte per slot: 0 for an empty slot, else a digest (1 to 255) of the
    // name it holds. A probe skips eight slots at a time by their tags and
    // compares whole names only where a tag matches, which keeps a search
    // through a long run of slots cheap; its result is the plain probe's.
    uint8_t tags[MEMORY_SLOTS];
    // See variableChanges().
    uint32_t changes;
};

} // namespace murmex
