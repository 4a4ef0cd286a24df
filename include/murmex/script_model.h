// The host API, for games that embed the engine.
// The records that hold a loaded conversation script: characters, their talk
// units and the conditions of each unit, and the ScriptModel that holds them
// with the string pool, the title and the colours. All texts live in the
// pool; records only point into it.
#pragma once

#include "murmex/engine/memory_store.h"

#include <cstdint>
#include <memory>

namespace murmex {

// Characters one engine holds; the loader refuses the next one.
constexpr int32_t MAX_CHARACTERS = 100;
// Talk units of one character; the loader refuses the next one.
constexpr int32_t MAX_UNITS = 150;
// Conditions of one talk unit; the loader refuses the next one.
constexpr int32_t MAX_CONDITIONS = 3;
// Characters of the script title, not counting the terminating zero.
constexpr int32_t MAX_TITLE = 50;
// Bytes of a question, an answer or a parameter; a longer one fails the load.
constexpr int32_t MAX_TEXT_LENGTH = 1498;
// Bytes of a character's name; a longer one fails the load.
constexpr int32_t MAX_CHARACTER_NAME = 98;

// One colour of the script header, as the script gives it.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// What applying a talk unit does besides moving the character's state.
enum ActionType : int32_t {
    ACT_NONE = 0,      // nothing
    ACT_COMM = 1,      // hand the conversation to the character named by param
    ACT_ADD_MEM = 2,   // set variable param to value, creating it if absent
    ACT_SUB_MEM = 3,   // remove variable param
    ACT_ADD_INV = 4,   // item param, count value: kept, not acted on by the engine
    ACT_SUB_INV = 5,   // item param: kept, not acted on by the engine
    ACT_ADD_MONEY = 6, // money += value
    ACT_SUB_MONEY = 7, // money -= value
};

// How a condition compares its variable with its value.
enum ConditionOp : uint8_t {
    OP_EQUAL = 1,     // "=="
    OP_NOT_EQUAL = 2, // "!="
    OP_LESS = 3,      // "<"
    OP_GREATER = 4,   // ">"
    OP_NOT = 5,       // "not": holds exactly when the variable does not exist
};

struct Condition {
    // Name of the memory variable tested (pooled).
    const char* variable = nullptr;
    // A ConditionOp; 0 until the loader has read the operator.
    uint8_t op = 0;
    // Operand of the comparison; unused for OP_NOT.
    int32_t value = 0;
};

struct TalkUnit {
    // Character state in which the unit is available.
    int32_t state = 0;
    // State the character enters when the unit is applied; negative ends the
    // conversation (-98 acts as a hand-over, -99 as a failure).
    int32_t nextState = 0;
    // Question offered to the player; empty marks an initial answer (pooled).
    const char* question = nullptr;
    // What the character says (pooled).
    const char* answer = nullptr;
    // An ActionType.
    int32_t action = ACT_NONE;
    // Text operand of every action but ACT_NONE (pooled).
    const char* param = nullptr;
    // Number operand of ACT_ADD_MEM, ACT_ADD_INV and the money actions.
    int32_t value = 0;
    // Conditions, all of which must hold; entries below conditionCount are used.
    Condition conditions[MAX_CONDITIONS];
    // 0 to MAX_CONDITIONS.
    int32_t conditionCount = 0;
};

class Character {
  public:
    Character() = default;
    virtual ~Character();
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    // Back to the state every conversation with this character starts in.
    void resetState() { state = 0; }

    // True when the condition holds against the memory; a missing variable
    // satisfies only != and not.
    static bool testCondition(const Condition& condition, const MemoryStore& memory);
    // True when the unit's state is the character's and all its conditions hold.
    bool isAvailable(const TalkUnit& unit, const MemoryStore& memory) const;
    // Answer of the last available unit with an empty question, or null.
    const char* initialAnswer(const MemoryStore& memory) const;
    // Stores the first max available questions in script order; returns how many.
    int32_t listQuestions(const MemoryStore& memory, const char** questions, int32_t* unitIndices,
                          int32_t max) const;
    // Moves to the unit's next state and performs its action. Returns the answer
    // (the param for ACT_COMM), or null when the unit does not fit or its action
    // fails.
    const char* applyUnit(int32_t unitIndex, MemoryStore& memory);

    // Talk units in script order; a unit's index here identifies it.
    std::unique_ptr<TalkUnit> units[MAX_UNITS];
    // 0 to MAX_UNITS.
    int32_t unitCount = 0;
    // Name in the pool; null until the loader has read the character's block.
    const char* name = nullptr;
    // Current conversation state; 0 at every start, negative once it has ended.
    int32_t state = 0;
};

// A loaded script: what the loader fills and the runtime reads. Both the
// engine and a shared Script are built on it; neither the memory store nor
// anything of a conversation lives here. Once loaded, nothing in it changes
// but a character's state, which only the engine uses.
class ScriptModel {
  public:
    ScriptModel();
    virtual ~ScriptModel();
    ScriptModel(const ScriptModel&) = delete;
    ScriptModel& operator=(const ScriptModel&) = delete;

    // Index of the first character with exactly this name, or -1.
    int32_t indexOfCharacter(const char* name) const;
    // Size of the pool in bytes (what the measuring pass counted).
    uint32_t blockSize() const { return poolSize; }

    // Characters in script order; entries below characterCount are in use.
    std::unique_ptr<Character> characters[MAX_CHARACTERS];
    // 0 to MAX_CHARACTERS.
    int32_t characterCount = 0;
    // The string pool: one block holding every text of the script.
    std::unique_ptr<char[]> block;
    // Script title, shown as the window caption.
    char title[MAX_TITLE + 1];
    // First header colour: the window and line backgrounds, the hover text.
    Rgb color;
    // Second header colour: the question and answer texts.
    Rgb textColor;

  private:
    // The loader's builder makes the pool and sizes it; nothing else may, or
    // the bound that keeps texts inside the pool would be wrong.
    friend class ScriptBuilder;
    // Size of the pool, so that the builder can refuse to write past it.
    uint32_t poolSize = 0;
};

} // namespace murmex
