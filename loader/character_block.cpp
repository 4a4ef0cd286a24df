// A character's block: its talk units, their fields and their conditions.
// Both passes run this code; the measuring pass only checks and counts text
// sizes, the filling pass also converts numbers, enforces the character and
// unit limits and creates the records.
#include "murmex/conversation_engine.h"

#include "murmex/load_messages.h"
#include "loader/number_text.h"
#include "loader/script_fields.h"
#include "murmex/script_lines.h"
#include "loader/script_reader.h"
#include "loader/value_limits.h"

#include <cstring>
#include <new>

namespace murmex {

namespace {

struct ActionKeyword {
    const char* keyword;
    ActionType action;
    bool takesParam;
    bool takesValue;
};

// Every action but ACT_NONE has a text operand, the money actions included
// (it is read and kept, though nothing uses it).
constexpr ActionKeyword ACTION_KEYWORDS[] = {
    {"ACT_NONE", ACT_NONE, false, false},
    {"ACT_COMM", ACT_COMM, true, false},
    {"ACT_ADD_MEM", ACT_ADD_MEM, true, true},
    {"ACT_SUB_MEM", ACT_SUB_MEM, true, false},
    {"ACT_ADD_INV", ACT_ADD_INV, true, true},
    {"ACT_SUB_INV", ACT_SUB_INV, true, false},
    {"ACT_ADD_MONEY", ACT_ADD_MONEY, true, true},
    {"ACT_SUB_MONEY", ACT_SUB_MONEY, true, true},
};

struct OperatorKeyword {
    const char* keyword;
    ConditionOp op;
};

constexpr OperatorKeyword OPERATOR_KEYWORDS[] = {
    {"==", OP_EQUAL}, {"!=", OP_NOT_EQUAL}, {"<", OP_LESS}, {">", OP_GREATER}, {"not", OP_NOT},
};

// Keywords match whole and exactly: no case folding, no trimming.
const ActionKeyword* findAction(const char* text) {
    for (const ActionKeyword& entry : ACTION_KEYWORDS) {
        if (std::strcmp(text, entry.keyword) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

uint8_t findOperator(const char* text) {
    for (const OperatorKeyword& entry : OPERATOR_KEYWORDS) {
        if (std::strcmp(text, entry.keyword) == 0) {
            return entry.op;
        }
    }
    return 0;
}

// A numeric field. Numbers are converted only in the filling pass, so a bad
// number is reported only for a file whose syntax is sound throughout.
int32_t readNumberField(ScriptReader& reader, char letter, const char* missingMessage,
                        int32_t limit, int32_t measuring, const char* wrongNumberMessage,
                        int32_t& value) {
    char text[TEXT_LIMIT];
    const int32_t result = readField(reader, letter, missingMessage, text, limit);
    if (result != READ_OK || measuring != 0) {
        return result;
    }
    if (!parseInteger(text, value)) {
        return reader.syntaxError(wrongNumberMessage);
    }
    return READ_OK;
}

} // namespace

int32_t ConversationEngine::readCharacterBlock(ScriptReader& reader, int32_t measuring) {
    if (reader.seekChar('{') != READ_OK) {
        return reader.syntaxError(messages::BLOCK_OPEN_EXPECTED);
    }
    Character* character = nullptr;
    if (measuring == 0) {
        if (characterCount >= MAX_CHARACTERS) {
            errorMessage = messages::TOO_MANY_CHARACTERS;
            return LOAD_LIMIT;
        }
        character = new (std::nothrow) Character;
        if (character == nullptr) {
            errorMessage = messages::OUT_OF_MEMORY;
            return LOAD_MEMORY;
        }
        characters[characterCount].reset(character);
        ++characterCount;
    }
    for (;;) {
        char c = 0;
        if (reader.readChar(c, 0) != READ_OK) {
            return reader.syntaxError(messages::BLOCK_CLOSE_EXPECTED);
        }
        if (c == '}') {
            return READ_OK;
        }
        if (c != '{') {
            // Text between units, quoted or not, is skipped.
            continue;
        }
        if (measuring == 0 && character->unitCount >= MAX_UNITS) {
            errorMessage = messages::TOO_MANY_UNITS;
            return LOAD_LIMIT;
        }
        const int32_t unitLine = line;
        // A record is made only for a unit read completely, so the unit is
        // read into a scratch copy first.
        TalkUnit scratch;
        const int32_t result = readTalkUnit(reader, scratch, measuring);
        if (result != READ_OK) {
            return result;
        }
        if (measuring == 0) {
            TalkUnit* unit = new (std::nothrow) TalkUnit(scratch);
            if (unit == nullptr) {
                errorMessage = messages::OUT_OF_MEMORY;
                return LOAD_MEMORY;
            }
            character->units[character->unitCount].reset(unit);
            if (scriptLines != nullptr) {
                scriptLines->unitLines[characterCount - 1][character->unitCount] = unitLine;
            }
            ++character->unitCount;
        }
    }
}

int32_t ConversationEngine::readTalkUnit(ScriptReader& reader, TalkUnit& unit, int32_t measuring) {
    // The fields are sought in this fixed order; A comes before ACT because
    // both are found by the same letter.
    int32_t result = readNumberField(reader, 'S', messages::S_EXPECTED, TEXT_LIMIT, measuring,
                                     messages::UNIT_WRONG_NUMBER, unit.state);
    if (result != READ_OK) {
        return result;
    }
    result = readNumberField(reader, 'N', messages::N_EXPECTED, TEXT_LIMIT, measuring,
                             messages::UNIT_WRONG_NUMBER, unit.nextState);
    if (result != READ_OK) {
        return result;
    }
    char text[TEXT_LIMIT];
    result = readField(reader, 'Q', messages::Q_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), measuring, unit.question);
    }
    if (result == READ_OK) {
        result = readField(reader, 'A', messages::A_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
    }
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), measuring, unit.answer);
    }
    if (result == READ_OK) {
        result = readField(reader, 'A', messages::ACT_EXPECTED, text, TEXT_LIMIT);
    }
    if (result != READ_OK) {
        return result;
    }
    const ActionKeyword* action = findAction(text);
    if (action == nullptr) {
        unit.action = -1;
        return reader.syntaxError(messages::UNKNOWN_ACTION);
    }
    unit.action = action->action;
    if (action->takesParam) {
        result = readField(reader, 'P', messages::PARAM_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
        if (result == READ_OK) {
            result = poolText(reader.quotedText(), reader.quotedLength(), measuring, unit.param);
        }
        if (result != READ_OK) {
            return result;
        }
    }
    if (action->takesValue) {
        result = readNumberField(reader, 'V', messages::VAL_EXPECTED, SHORT_LIMIT, measuring,
                                 messages::UNIT_WRONG_NUMBER, unit.value);
        if (result != READ_OK) {
            return result;
        }
    }
    unit.conditionCount = 0;
    for (Condition& slot : unit.conditions) {
        slot.op = 0;
    }
    for (;;) {
        char c = 0;
        if (reader.readChar(c, 0) != READ_OK) {
            return reader.syntaxError(messages::CONDITION_LIST_OPEN);
        }
        if (c == '}') {
            return READ_OK;
        }
        if (c != '{') {
            // Whatever stands here without a brace is skipped, including a
            // PARAM or VAL written for an action that takes none.
            continue;
        }
        if (unit.conditionCount >= MAX_CONDITIONS) {
            errorMessage = messages::TOO_MANY_CONDITIONS;
            return LOAD_LIMIT;
        }
        Condition scratch;
        result = readCondition(reader, scratch, measuring);
        if (result != READ_OK) {
            return result;
        }
        unit.conditions[unit.conditionCount] = scratch;
        ++unit.conditionCount;
    }
}

int32_t ConversationEngine::readCondition(ScriptReader& reader, Condition& condition,
                                          int32_t measuring) {
    char text[SHORT_LIMIT];
    int32_t result = readField(reader, 'I', messages::ID_EXPECTED, text, SHORT_LIMIT, ValueUse::Pooled);
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), measuring, condition.variable);
    }
    if (result == READ_OK) {
        result = readField(reader, 'O', messages::OP_EXPECTED, text, SHORT_LIMIT);
    }
    if (result != READ_OK) {
        return result;
    }
    condition.op = findOperator(text);
    if (condition.op == 0) {
        return reader.syntaxError(messages::WRONG_OPERATOR);
    }
    if (condition.op != OP_NOT) {
        result = readNumberField(reader, 'V', messages::VAL_EXPECTED, SHORT_LIMIT, measuring,
                                 messages::CONDITION_WRONG_NUMBER, condition.value);
        if (result != READ_OK) {
            return result;
        }
    }
    return expectChar(reader, '}', messages::BLOCK_CLOSE_EXPECTED);
}

} // namespace murmex
