// Fixed-size variable table with linear probing and marker-less removal.
#include "engine/memory_store.h"

#include <cstring>

namespace murmex {

MemoryStore::MemoryStore() : values{}, money(0) {
    for (auto& slot : names) {
        slot[0] = 0;
    }
}

int32_t MemoryStore::hash(const char* name) {
    // At most 19 bytes of -128..127 each: the sum cannot overflow.
    int32_t sum = 0;
    for (int32_t i = 0; i < MAX_NAME_LENGTH && name[i] != 0; ++i) {
        sum += static_cast<signed char>(name[i]);
    }
    return ((sum % MEMORY_SLOTS) + MEMORY_SLOTS) % MEMORY_SLOTS;
}

bool MemoryStore::slotHolds(int32_t slot, const char* name) const {
    // Compares the slot with the name cut to MAX_NAME_LENGTH bytes. An empty
    // name equals an empty slot, which lookup() then reports as not existing.
    const char* stored = names[slot];
    for (int32_t i = 0; i < MAX_NAME_LENGTH; ++i) {
        if (stored[i] != name[i]) {
            return false;
        }
        if (name[i] == 0) {
            return true;
        }
    }
    return stored[MAX_NAME_LENGTH] == 0;
}

int32_t MemoryStore::lookup(const char* name, int32_t* freeSlot) const {
    const int32_t start = hash(name);
    int32_t slot = start;
    while (!slotHolds(slot, name) && !slotEmpty(slot)) {
        slot = (slot + 1) % MEMORY_SLOTS;
        if (slot == start) {
            return -2;
        }
    }
    if (!slotEmpty(slot)) {
        return slot;
    }
    if (freeSlot != nullptr) {
        *freeSlot = slot;
    }
    return -1;
}

int32_t MemoryStore::set(const char* name, int32_t value) {
    int32_t freeSlot = 0;
    int32_t slot = lookup(name, &freeSlot);
    if (slot == -2) {
        return -1;
    }
    if (slot == -1) {
        slot = freeSlot;
        // Copies at most MAX_NAME_LENGTH bytes; the slot always ends in a zero.
        std::strncpy(names[slot], name, MAX_NAME_LENGTH);
        names[slot][MAX_NAME_LENGTH] = 0;
    }
    values[slot] = value;
    return 0;
}

int32_t MemoryStore::remove(const char* name) {
    const int32_t slot = lookup(name);
    if (slot < 0) {
        return -1;
    }
    names[slot][0] = 0;
    return 0;
}

int32_t MemoryStore::valueAt(int32_t slot) const {
    if (slot < 0 || slot >= MEMORY_SLOTS || slotEmpty(slot)) {
        return 0;
    }
    return values[slot];
}

void MemoryStore::addMoney(int32_t amount) {
    money = static_cast<int32_t>(static_cast<uint32_t>(money) + static_cast<uint32_t>(amount));
}

void MemoryStore::subtractMoney(int32_t amount) {
    money = static_cast<int32_t>(static_cast<uint32_t>(money) - static_cast<uint32_t>(amount));
}

} // namespace murmex
