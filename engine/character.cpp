// What the runtime asks of one character: which units are available, its
// opening answer, the questions it offers, and applying a chosen unit. The
// rules take the character's state as an argument, so that games playing
// over one shared script each keep their own; the members apply them to the
// state the character holds.
#include "engine/conversation_steps.h"
#include "murmex/script_model.h"

namespace murmex {

namespace steps {

bool isAvailable(const TalkUnit& unit, int32_t state, const MemoryStore& memory) {
    if (unit.state != state) {
        return false;
    }
    for (int32_t i = 0; i < unit.conditionCount; ++i) {
        if (!Character::testCondition(unit.conditions[i], memory)) {
            return false;
        }
    }
    return true;
}

const char* initialAnswer(const Character& character, int32_t state, const MemoryStore& memory) {
    // The last qualifying unit in the script wins.
    const char* result = nullptr;
    for (int32_t i = 0; i < character.unitCount; ++i) {
        const TalkUnit& unit = *character.units[i];
        // The state is tested first: it lies in the unit, the question's
        // first byte in the pool, and most units belong to other states.
        if (unit.state == state && unit.question[0] == 0 && isAvailable(unit, state, memory)) {
            result = unit.answer;
        }
    }
    return result;
}

int32_t listQuestions(const Character& character, int32_t state, const MemoryStore& memory,
                      const char** questions, int32_t* unitIndices, int32_t max) {
    int32_t count = 0;
    for (int32_t i = 0; i < character.unitCount && count < max; ++i) {
        const TalkUnit& unit = *character.units[i];
        if (unit.state == state && unit.question[0] != 0 && isAvailable(unit, state, memory)) {
            unitIndices[count] = i;
            questions[count] = unit.question;
            ++count;
        }
    }
    return count;
}

const char* applyUnit(const Character& character, int32_t& state, int32_t unitIndex,
                      MemoryStore& memory) {
    if (unitIndex < 0 || unitIndex >= character.unitCount) {
        return nullptr;
    }
    const TalkUnit& unit = *character.units[unitIndex];
    if (unit.state != state) {
        return nullptr;
    }
    // The state moves first: a failing action leaves the character in the new state.
    state = unit.nextState;
    switch (unit.action) {
    case ACT_COMM:
        state = RESULT_SWITCH;
        return unit.param;
    case ACT_ADD_MEM:
        if (memory.set(unit.param, unit.value) != 0) {
            return nullptr;
        }
        break;
    case ACT_SUB_MEM:
        if (memory.remove(unit.param) != 0) {
            return nullptr;
        }
        break;
    case ACT_ADD_MONEY:
        memory.addMoney(unit.value);
        break;
    case ACT_SUB_MONEY:
        memory.subtractMoney(unit.value);
        break;
    default:
        // ACT_NONE and the inventory actions change nothing inside the engine.
        break;
    }
    return unit.answer;
}

} // namespace steps

Character::~Character() = default;

bool Character::testCondition(const Condition& condition, const MemoryStore& memory) {
    const int32_t slot = memory.lookup(condition.variable);
    const bool missing = slot < 0;
    const int32_t value = missing ? 0 : memory.valueAt(slot);
    switch (condition.op) {
    case OP_EQUAL:
        return !missing && value == condition.value;
    case OP_NOT_EQUAL:
        return missing || value != condition.value;
    case OP_LESS:
        return !missing && value < condition.value;
    case OP_GREATER:
        return !missing && value > condition.value;
    case OP_NOT:
        return missing;
    default:
        // The loader never stores another operator; an unknown one holds nowhere.
        return false;
    }
}

bool Character::isAvailable(const TalkUnit& unit, const MemoryStore& memory) const {
    return steps::isAvailable(unit, state, memory);
}

const char* Character::initialAnswer(const MemoryStore& memory) const {
    return steps::initialAnswer(*this, state, memory);
}

int32_t Character::listQuestions(const MemoryStore& memory, const char** questions,
                                 int32_t* unitIndices, int32_t max) const {
    return steps::listQuestions(*this, state, memory, questions, unitIndices, max);
}

const char* Character::applyUnit(int32_t unitIndex, MemoryStore& memory) {
    return steps::applyUnit(*this, state, unitIndex, memory);
}

} // namespace murmex
