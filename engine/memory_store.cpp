// Fixed-size variable table with linear probing and marker-less removal.
#include "murmex/memory_store.h"

#include <bit>
#include <cstring>

namespace murmex {

namespace {
constexpr uint64_t LOW_BITS = 0x0101010101010101ull;
constexpr uint64_t HIGH_BITS = 0x8080808080808080ull;

// Marks the bytes of word that are zero. The lowest mark is always exact;
// marks above it may be spurious, so callers take the lowest and look again.
uint64_t zeroBytes(uint64_t word) {
    return (word - LOW_BITS) & ~word & HIGH_BITS;
}
} // namespace

MemoryStore::MemoryStore() : values{}, money(0), tags{}, changes(0) {
    for (auto& slot : names) {
        slot[0] = 0;
    }
}

MemoryStore::MemoryStore(const MemoryStore& other) {
    *this = other;
}

MemoryStore& MemoryStore::operator=(const MemoryStore& other) {
    std::memcpy(names, other.names, sizeof(names));
    std::memcpy(values, other.values, sizeof(values));
    std::memcpy(tags, other.tags, sizeof(tags));
    money = other.money;
    changes = other.changes;
    return *this;
}

void MemoryStore::restoreSlot(int32_t slot, const char* name, int32_t value) {
    if (slot < 0 || slot >= MEMORY_SLOTS) {
        return;
    }
    ++changes;
    std::strncpy(names[slot], name, MAX_NAME_LENGTH);
    names[slot][MAX_NAME_LENGTH] = 0;
    tags[slot] = keyOf(name).tag;
    values[slot] = value;
}

MemoryStore::NameKey MemoryStore::keyOf(const char* name) {
    // At most 19 bytes of -128..127 each: the sum cannot overflow.
    int32_t sum = 0;
    uint32_t digest = 0;
    for (int32_t i = 0; i < MAX_NAME_LENGTH && name[i] != 0; ++i) {
        sum += static_cast<signed char>(name[i]);
        digest = digest * 31u + static_cast<uint8_t>(name[i]);
    }
    const int32_t start = ((sum % MEMORY_SLOTS) + MEMORY_SLOTS) % MEMORY_SLOTS;
    // The empty name carries the empty slot's tag: only empty slots match it.
    const uint8_t tag = name[0] == 0 ? 0 : static_cast<uint8_t>(digest % 255u + 1u);
    return {start, tag};
}

int32_t MemoryStore::hash(const char* name) {
    return keyOf(name).start;
}

int32_t MemoryStore::nextCandidate(int32_t from, int32_t to, uint8_t tag) const {
    const uint64_t wanted = LOW_BITS * tag;
    int32_t slot = from;
    // Eight tags at a time, lowest address in the lowest byte.
    for (; std::endian::native == std::endian::little && slot + 8 <= to; slot += 8) {
        uint64_t word;
        std::memcpy(&word, tags + slot, sizeof(word));
        const uint64_t marks = zeroBytes(word) | zeroBytes(word ^ wanted);
        if (marks != 0) {
            return slot + std::countr_zero(marks) / 8;
        }
    }
    for (; slot < to; ++slot) {
        if (tags[slot] == 0 || tags[slot] == tag) {
            return slot;
        }
    }
    return -1;
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
    // The search stops at the first slot on its way, from the start slot on
    // and round past the last, that holds the name or is empty. Only slots
    // whose tag is the name's or the empty one's can be that slot.
    const NameKey key = keyOf(name);
    const int32_t ranges[2][2] = {{key.start, MEMORY_SLOTS}, {0, key.start}};
    for (const auto& range : ranges) {
        int32_t from = range[0];
        while (from < range[1]) {
            const int32_t slot = nextCandidate(from, range[1], key.tag);
            if (slot < 0) {
                break;
            }
            if (slotEmpty(slot)) {
                if (freeSlot != nullptr) {
                    *freeSlot = slot;
                }
                return -1;
            }
            if (slotHolds(slot, name)) {
                return slot;
            }
            from = slot + 1;
        }
    }
    return -2;
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
        tags[slot] = keyOf(name).tag;
        ++changes;
    } else if (values[slot] != value) {
        ++changes;
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
    tags[slot] = 0;
    ++changes;
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
