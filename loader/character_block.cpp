// A character's block: its talk units, their fields and their conditions.
// Both passes run this code; the measuring pass only checks and counts text
// sizes, the filling pass also converts numbers, enforces the character and
// unit limits and creates the records.
#include "loader/script_loader.h"

#include "loader/number_text.h"
#include "loader/script_fields.h"
#include "loader/value_limits.h"
#include "murmex/load_messages.h"
#include "murmex/script_keywords.h"
#include "murmex/script_lines.h"

#include <cstring>
#include <new>

namespace murmex {

int32_t ScriptLoader::readNumberField(ScriptReader& reader, char letter, const char* missingMessage,
                                      int32_t limit, const char* wrongNumberMessage,
                                      int32_t& value) {
    // Numbers are converted only in the filling pass, so a bad number is
    // reported only for a file whose syntax is sound throughout.
    char* text = valueBuffer;
    const int32_t result = readField(reader, letter, missingMessage, text, limit);
    if (result != READ_OK || measuring()) {
        return result;
    }
    if (!parseInteger(text, value)) {
        return reader.syntaxError(wrongNumberMessage, LoadCause::NotANumber);
    }
    return READ_OK;
}

int32_t ScriptLoader::readCharacterBlock(ScriptReader& reader) {
    if (reader.seekChar('{') != READ_OK) {
        return reader.syntaxError(messages::BLOCK_OPEN_EXPECTED, LoadCause::EndOfFile);
    }
    Character* character = nullptr;
    if (!measuring()) {
        if (engine.characterCount >= MAX_CHARACTERS) {
            return fail(LOAD_LIMIT, messages::TOO_MANY_CHARACTERS, LoadCause::TooManyCharacters,
                        MAX_CHARACTERS);
        }
        character = new (std::nothrow) Character;
        if (character == nullptr) {
            return fail(LOAD_MEMORY, messages::OUT_OF_MEMORY, LoadCause::OutOfMemory);
        }
        engine.characters[engine.characterCount].reset(character);
        ++engine.characterCount;
    }
    for (;;) {
        char c = 0;
        if (reader.readChar(c, 0) != READ_OK) {
            return reader.syntaxError(messages::BLOCK_CLOSE_EXPECTED, LoadCause::EndOfFile);
        }
        if (c == '}') {
            return READ_OK;
        }
        if (c != '{') {
            // Text between units, quoted or not, is skipped.
            continue;
        }
        if (!measuring() && character->unitCount >= MAX_UNITS) {
            return fail(LOAD_LIMIT, messages::TOO_MANY_UNITS, LoadCause::TooManyUnits, MAX_UNITS);
        }
        const int32_t unitLine = reader.line();
        // A record is made only for a unit read completely, so the unit is
        // read into a scratch copy first.
        TalkUnit scratch;
        const int32_t result = readTalkUnit(reader, scratch);
        if (result != READ_OK) {
            return result;
        }
        if (!measuring()) {
            TalkUnit* unit = new (std::nothrow) TalkUnit(scratch);
            if (unit == nullptr) {
                return fail(LOAD_MEMORY, messages::OUT_OF_MEMORY, LoadCause::OutOfMemory);
            }
            character->units[character->unitCount].reset(unit);
            if (engine.scriptLines != nullptr) {
                engine.scriptLines->unitLines[engine.characterCount - 1][character->unitCount] =
                    unitLine;
            }
            ++character->unitCount;
        }
    }
}

int32_t ScriptLoader::readTalkUnit(ScriptReader& reader, TalkUnit& unit) {
    // The fields are sought in this fixed order; A comes before ACT because
    // both are found by the same letter.
    int32_t result = readNumberField(reader, 'S', messages::S_EXPECTED, TEXT_LIMIT,
                                     messages::UNIT_WRONG_NUMBER, unit.state);
    if (result != READ_OK) {
        return result;
    }
    result = readNumberField(reader, 'N', messages::N_EXPECTED, TEXT_LIMIT,
                             messages::UNIT_WRONG_NUMBER, unit.nextState);
    if (result != READ_OK) {
        return result;
    }
    char* text = valueBuffer;
    result = readField(reader, 'Q', messages::Q_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), unit.question);
    }
    if (result == READ_OK) {
        result = readField(reader, 'A', messages::A_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
    }
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), unit.answer);
    }
    if (result == READ_OK) {
        result = readField(reader, 'A', messages::ACT_EXPECTED, text, TEXT_LIMIT);
    }
    if (result != READ_OK) {
        return result;
    }
    const ActionKeyword* action = findActionKeyword(text);
    if (action == nullptr) {
        unit.action = -1;
        return reader.syntaxError(messages::UNKNOWN_ACTION, LoadCause::UnknownAction);
    }
    unit.action = action->action;
    if (action->takesParam) {
        result =
            readField(reader, 'P', messages::PARAM_EXPECTED, text, TEXT_LIMIT, ValueUse::Pooled);
        if (result == READ_OK) {
            result = poolText(reader.quotedText(), reader.quotedLength(), unit.param);
        }
        if (result != READ_OK) {
            return result;
        }
    }
    if (action->takesValue) {
        result = readNumberField(reader, 'V', messages::VAL_EXPECTED, SHORT_LIMIT,
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
            return reader.syntaxError(messages::CONDITION_LIST_OPEN, LoadCause::EndOfFile);
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
            return fail(LOAD_LIMIT, messages::TOO_MANY_CONDITIONS, LoadCause::TooManyConditions,
                        MAX_CONDITIONS);
        }
        Condition scratch;
        result = readCondition(reader, scratch);
        if (result != READ_OK) {
            return result;
        }
        unit.conditions[unit.conditionCount] = scratch;
        ++unit.conditionCount;
    }
}

int32_t ScriptLoader::readCondition(ScriptReader& reader, Condition& condition) {
    char text[SHORT_LIMIT];
    int32_t result =
        readField(reader, 'I', messages::ID_EXPECTED, text, SHORT_LIMIT, ValueUse::Pooled);
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), condition.variable);
    }
    if (result == READ_OK) {
        result = readField(reader, 'O', messages::OP_EXPECTED, text, SHORT_LIMIT);
    }
    if (result != READ_OK) {
        return result;
    }
    condition.op = findOperatorKeyword(text);
    if (condition.op == 0) {
        return reader.syntaxError(messages::WRONG_OPERATOR, LoadCause::UnknownOperator);
    }
    if (condition.op != OP_NOT) {
        result = readNumberField(reader, 'V', messages::VAL_EXPECTED, SHORT_LIMIT,
                                 messages::CONDITION_WRONG_NUMBER, condition.value);
        if (result != READ_OK) {
            return result;
        }
    }
    return expectChar(reader, '}', messages::BLOCK_CLOSE_EXPECTED);
}

} // namespace murmex
