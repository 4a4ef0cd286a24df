// Keys read from a memory store, hashed and kept in an open-addressing table.
#include "tools/analysis/situation_store.h"

#include "murmex/script_model.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace murmex::tool {

namespace {

// Only ACT_ADD_MEM creates a variable, so a script can't name more variables
// than it has talk units, and every name fits the two bytes of StoredVariable.
static_assert(MAX_CHARACTERS * MAX_UNITS <= 65536);
// Table entries per stored situation at most; keeps probe runs short.
constexpr size_t TABLE_LOAD = 2;
constexpr size_t FIRST_TABLE_SIZE = 1024;

uint64_t mix(uint64_t hash, uint64_t value) {
    // splitmix64's finaliser over the running hash: cheap and spreads well.
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    hash ^= hash >> 30;
    hash *= 0xBF58476D1CE4E5B9ULL;
    hash ^= hash >> 27;
    hash *= 0x94D049BB133111EBULL;
    return hash ^ (hash >> 31);
}

} // namespace

uint16_t VariableNames::numberOf(const MemoryStore& memory, int32_t slot) {
    const char* slotName = memory.names[slot];
    if (seen[slot] && std::memcmp(lastSeen[slot].data, slotName, NAME_SIZE) == 0) {
        return lastNumber[slot];
    }
    const std::string name(slotName, strnlen(slotName, MAX_NAME_LENGTH));
    auto found = numbers.find(name);
    if (found == numbers.end()) {
        SlotName bytes{};
        std::memcpy(bytes.data, name.data(), name.size());
        names.push_back(bytes);
        found = numbers.emplace(name, static_cast<uint16_t>(names.size() - 1)).first;
    }
    std::memcpy(lastSeen[slot].data, slotName, NAME_SIZE);
    lastNumber[slot] = found->second;
    seen[slot] = true;
    return found->second;
}

void SituationStore::readKey(const MemoryStore& memory, int32_t character, int32_t state,
                             VariableNames& names, SituationKey& key) {
    key.character = character;
    key.state = state;
    key.variables.clear();
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            key.variables.push_back(StoredVariable{
                static_cast<uint16_t>(slot), names.numberOf(memory, slot), memory.values[slot]});
        }
    }
}

uint64_t SituationStore::hashOf(const SituationKey& key) {
    uint64_t hash = mix(static_cast<uint64_t>(key.character), static_cast<uint32_t>(key.state));
    for (const StoredVariable& variable : key.variables) {
        hash = mix(hash, (static_cast<uint64_t>(variable.slot) << 48) ^
                             (static_cast<uint64_t>(variable.name) << 32) ^
                             static_cast<uint32_t>(variable.value));
    }
    return hash;
}

bool SituationStore::equals(const SituationRecord& record, const SituationKey& key) const {
    if (record.character != key.character || record.state != key.state ||
        record.variableCount != key.variables.size()) {
        return false;
    }
    for (size_t i = 0; i < key.variables.size(); ++i) {
        const StoredVariable& stored = variables[record.firstVariable + i];
        const StoredVariable& wanted = key.variables[i];
        if (stored.slot != wanted.slot || stored.name != wanted.name ||
            stored.value != wanted.value) {
            return false;
        }
    }
    return true;
}

int64_t SituationStore::find(const SituationKey& key) const {
    if (table.empty()) {
        return -1;
    }
    const uint64_t hash = hashOf(key);
    const size_t mask = table.size() - 1;
    for (size_t entry = hash & mask; table[entry] != 0; entry = (entry + 1) & mask) {
        const uint32_t index = table[entry] - 1;
        if (records[index].hash == hash && equals(records[index], key)) {
            return index;
        }
    }
    return -1;
}

void SituationStore::grow() {
    std::vector<uint32_t> larger(table.empty() ? FIRST_TABLE_SIZE : table.size() * 2, 0);
    const size_t mask = larger.size() - 1;
    for (size_t index = 0; index < records.size(); ++index) {
        size_t entry = records[index].hash & mask;
        while (larger[entry] != 0) {
            entry = (entry + 1) & mask;
        }
        larger[entry] = static_cast<uint32_t>(index + 1);
    }
    table.swap(larger);
}

uint32_t SituationStore::add(const SituationKey& key, uint32_t parent, uint32_t depth,
                             uint16_t unit) {
    if ((records.size() + 1) * TABLE_LOAD > table.size()) {
        grow();
    }
    const uint32_t index = static_cast<uint32_t>(records.size());
    SituationRecord record{};
    record.hash = hashOf(key);
    record.firstVariable = variables.size();
    record.parent = parent;
    record.depth = depth;
    record.state = key.state;
    record.variableCount = static_cast<uint16_t>(key.variables.size());
    record.unit = unit;
    record.character = static_cast<uint8_t>(key.character);
    variables.insert(variables.end(), key.variables.begin(), key.variables.end());
    records.push_back(record);
    const size_t mask = table.size() - 1;
    size_t entry = record.hash & mask;
    while (table[entry] != 0) {
        entry = (entry + 1) & mask;
    }
    table[entry] = index + 1;
    return index;
}

void SituationStore::readGameState(uint32_t index, const VariableNames& names,
                                   GameState& state) const {
    const SituationRecord& stored = records[index];
    std::fill(std::begin(state.states), std::end(state.states), 0);
    state.states[stored.character] = stored.state;
    state.characterIndex = stored.character;
    state.answerOffset = -1;
    state.questionCount = 0;
    // Restoring every occupied slot where it was gives a store that behaves
    // exactly like the one the key was read from.
    state.memory = MemoryStore();
    for (uint64_t i = 0; i < stored.variableCount; ++i) {
        const StoredVariable& variable = variables[stored.firstVariable + i];
        state.memory.restoreSlot(variable.slot, names.slotBytes(variable.name), variable.value);
    }
}

uint64_t SituationStore::bytes() const {
    return records.size() * sizeof(SituationRecord) + variables.size() * sizeof(StoredVariable) +
           table.size() * sizeof(uint32_t);
}

} // namespace murmex::tool
