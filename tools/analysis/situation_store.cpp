// Situations hashed and kept in an open-addressing table.
#include "tools/analysis/situation_store.h"

#include "tools/analysis/hash_mix.h"
#include "tools/analysis/memory_weight.h"

#include <algorithm>
#include <iterator>

namespace murmex::tool {

namespace {

// The table grows before more than two thirds of its entries are taken: probe
// runs stay a few entries long, and the table small. Most searches end in the
// table of recent situations, so a longer run costs little.
constexpr size_t MAX_TAKEN = 2;
constexpr size_t MAX_TAKEN_OF = 3;
constexpr size_t FIRST_TABLE_SIZE = 1024;
// Entries of the table of recent situations at most, a power of two: 256 KiB.
constexpr size_t RECENT_SIZE = 16384;

} // namespace

uint64_t SituationStore::hashOf(const SituationKey& key) {
    const uint64_t who = (static_cast<uint64_t>(static_cast<uint32_t>(key.character)) << 32) |
                         static_cast<uint32_t>(key.state);
    return mixHash(mixHash(0, who), key.layout);
}

bool SituationStore::holds(const Entry& entry, const SituationKey& key) {
    return entry.layout == key.layout && entry.state == key.state &&
           entry.character == static_cast<uint32_t>(key.character);
}

int64_t SituationStore::find(const SituationKey& key) {
    if (table.empty()) {
        return -1;
    }
    const uint64_t hash = hashOf(key);
    Entry& remembered = recent[hash & (recent.size() - 1)];
    if (remembered.indexPlusOne != 0 && holds(remembered, key)) {
        return remembered.indexPlusOne - 1;
    }
    const uint32_t high = static_cast<uint32_t>(hash >> 32);
    const size_t mask = table.size() - 1;
    for (size_t at = hash & mask; table[at].indexPlusOne != 0; at = (at + 1) & mask) {
        if (table[at].hashHigh != high) {
            continue;
        }
        const uint32_t index = table[at].indexPlusOne - 1;
        const SituationRecord& record = records[index];
        const Entry entry{record.layout, record.state, index + 1, record.character};
        if (holds(entry, key)) {
            remembered = entry;
            return index;
        }
    }
    return -1;
}

void SituationStore::insert(std::vector<Slot>& into, uint64_t hash, uint32_t index) {
    const size_t mask = into.size() - 1;
    size_t at = hash & mask;
    while (into[at].indexPlusOne != 0) {
        at = (at + 1) & mask;
    }
    into[at] = Slot{static_cast<uint32_t>(hash >> 32), index + 1};
}

void SituationStore::grow() {
    std::vector<Slot> larger(table.empty() ? FIRST_TABLE_SIZE : table.size() * 2, Slot{});
    // A small search needs no more recent situations than it has entries.
    const size_t recentSize = std::min(RECENT_SIZE, larger.size());
    if (recent.size() != recentSize) {
        recent.assign(recentSize, Entry{});
    }
    for (size_t index = 0; index < records.size(); ++index) {
        const SituationRecord& record = records[index];
        insert(larger, hashOf({record.character, record.state, record.layout}),
               static_cast<uint32_t>(index));
    }
    table.swap(larger);
}

uint32_t SituationStore::add(const SituationKey& key, uint32_t parent, uint32_t depth,
                             uint16_t unit) {
    if ((records.size() + 1) * MAX_TAKEN_OF > table.size() * MAX_TAKEN) {
        grow();
    }
    const uint32_t index = static_cast<uint32_t>(records.size());
    SituationRecord record{};
    record.layout = key.layout;
    record.parent = parent;
    record.depth = depth;
    record.state = key.state;
    record.unit = unit;
    record.character = static_cast<uint8_t>(key.character);
    records.push_back(record);
    const uint64_t hash = hashOf(key);
    insert(table, hash, index);
    recent[hash & (recent.size() - 1)] =
        Entry{key.layout, key.state, index + 1, static_cast<uint32_t>(key.character)};
    return index;
}

void SituationStore::readGameState(uint32_t index, GameState& state) const {
    const SituationRecord& stored = records[index];
    std::fill(std::begin(state.states), std::end(state.states), 0);
    state.states[stored.character] = stored.state;
    state.characterIndex = stored.character;
    state.answerOffset = -1;
    state.questionCount = 0;
}

uint64_t SituationStore::bytes() const {
    return dequeBytes(records.size(), sizeof(SituationRecord)) + memoryLayouts.bytes() +
           grownTableBytes(table.size() * sizeof(Slot)) + recent.size() * sizeof(Entry);
}

} // namespace murmex::tool
