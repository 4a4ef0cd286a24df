// Layouts read from a memory store, hashed and kept in an open-addressing table.
#include "tools/analysis/variable_layouts.h"

#include "murmex/script_model.h"
#include "tools/analysis/hash_mix.h"
#include "tools/analysis/memory_weight.h"

#include <cstddef>
#include <cstring>

namespace murmex::tool {

namespace {

// Only ACT_ADD_MEM creates a variable, so a script can't name more variables
// than it has talk units, and every name fits the two bytes of StoredVariable.
static_assert(MAX_CHARACTERS * MAX_UNITS <= 65536);
// Table entries per stored layout at most; keeps probe runs short.
constexpr size_t TABLE_LOAD = 2;
constexpr size_t FIRST_TABLE_SIZE = 256;

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

uint64_t VariableLayouts::hashOf(const std::vector<StoredVariable>& list) {
    uint64_t hash = list.size();
    for (const StoredVariable& variable : list) {
        hash = mixHash(hash, (static_cast<uint64_t>(variable.slot) << 48) ^
                                 (static_cast<uint64_t>(variable.name) << 32) ^
                                 static_cast<uint32_t>(variable.value));
    }
    return hash;
}

bool VariableLayouts::equals(const Layout& layout, const std::vector<StoredVariable>& list) const {
    if (layout.count != list.size()) {
        return false;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        const StoredVariable& stored = variables[layout.first + i];
        if (stored.slot != list[i].slot || stored.name != list[i].name ||
            stored.value != list[i].value) {
            return false;
        }
    }
    return true;
}

void VariableLayouts::grow() {
    std::vector<uint32_t> larger(table.empty() ? FIRST_TABLE_SIZE : table.size() * 2, 0);
    const size_t mask = larger.size() - 1;
    for (size_t index = 0; index < layouts.size(); ++index) {
        size_t entry = layouts[index].hash & mask;
        while (larger[entry] != 0) {
            entry = (entry + 1) & mask;
        }
        larger[entry] = static_cast<uint32_t>(index + 1);
    }
    table.swap(larger);
}

uint32_t VariableLayouts::numberOf(const MemoryStore& memory, VariableNames& names, bool mayAdd) {
    scratch.clear();
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            scratch.push_back(StoredVariable{static_cast<uint16_t>(slot),
                                             names.numberOf(memory, slot), memory.values[slot]});
        }
    }
    if ((layouts.size() + 1) * TABLE_LOAD > table.size()) {
        grow();
    }
    const uint64_t hash = hashOf(scratch);
    const size_t mask = table.size() - 1;
    size_t entry = hash & mask;
    for (; table[entry] != 0; entry = (entry + 1) & mask) {
        const uint32_t index = table[entry] - 1;
        if (layouts[index].hash == hash && equals(layouts[index], scratch)) {
            return index;
        }
    }
    if (!mayAdd) {
        return NEW_LAYOUT;
    }
    const uint32_t index = static_cast<uint32_t>(layouts.size());
    layouts.push_back(Layout{hash, variables.size(), static_cast<uint32_t>(scratch.size())});
    variables.insert(variables.end(), scratch.begin(), scratch.end());
    table[entry] = index + 1;
    return index;
}

void VariableLayouts::restore(uint32_t layout, const VariableNames& names,
                              MemoryStore& memory) const {
    const Layout& stored = layouts[layout];
    for (uint64_t i = 0; i < stored.count; ++i) {
        const StoredVariable& variable = variables[stored.first + i];
        memory.restoreSlot(variable.slot, names.slotBytes(variable.name), variable.value);
    }
}

void VariableLayouts::change(uint32_t from, uint32_t to, const VariableNames& names,
                             MemoryStore& memory) const {
    // Both lists are in slot order: walked side by side, a slot only the old
    // one holds is emptied, one only the new one holds or holds otherwise is
    // written. Restoring the empty name empties a slot as a new store has it.
    const Layout& before = layouts[from];
    const Layout& after = layouts[to];
    auto was = variables.begin() + static_cast<std::ptrdiff_t>(before.first);
    auto is = variables.begin() + static_cast<std::ptrdiff_t>(after.first);
    const auto wasEnd = was + static_cast<std::ptrdiff_t>(before.count);
    const auto isEnd = is + static_cast<std::ptrdiff_t>(after.count);
    while (was != wasEnd || is != isEnd) {
        if (is == isEnd || (was != wasEnd && was->slot < is->slot)) {
            memory.restoreSlot(was->slot, "", 0);
            ++was;
            continue;
        }
        if (was == wasEnd || is->slot < was->slot) {
            memory.restoreSlot(is->slot, names.slotBytes(is->name), is->value);
            ++is;
            continue;
        }
        if (was->name != is->name || was->value != is->value) {
            memory.restoreSlot(is->slot, names.slotBytes(is->name), is->value);
        }
        ++was;
        ++is;
    }
}

uint64_t VariableLayouts::bytes() const {
    return dequeBytes(layouts.size(), sizeof(Layout)) +
           dequeBytes(variables.size(), sizeof(StoredVariable)) +
           grownTableBytes(table.size() * sizeof(uint32_t)) +
           scratch.capacity() * sizeof(StoredVariable);
}

uint64_t VariableNames::bytes() const {
    return names.capacity() * sizeof(SlotName) + numbers.size() * MAP_NODE_BYTES;
}

bool sameVariables(const MemoryStore& a, const MemoryStore& b) {
    // Bytes past an empty slot's first one, and an empty slot's value, may
    // differ between equal stores; they then count as a change, which costs
    // a fresh read of the layout and nothing else.
    return std::memcmp(a.names, b.names, sizeof(a.names)) == 0 &&
           std::memcmp(a.values, b.values, sizeof(a.values)) == 0;
}

} // namespace murmex::tool
