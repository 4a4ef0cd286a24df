// A character's block: its talk units, their fields and their conditions.
// Both passes run this code; the measuring pass only checks and counts text
// sizes, the filling pass also converts numbers, enforces the character and
// unit limits and creates the records. A scan reads as the filling pass does
// but creates nothing.
#include "loader/script_loader.h"

#include "loader/number_text.h"
#include "loader/script_fields.h"
#include "murmex/load_messages.h"
#include "murmex/script_keywords.h"
#include "murmex/script_syntax.h"

#include <cstring>

namespace murmex {

int32_t ScriptLoader::readFieldTelling(ScriptReader& reader, ScriptField which, char* buffer,
                                       ValueUse use) {
    FieldPlaces places;
    const int32_t result = readField(reader, scriptField(which), buffer, use, &places);
    if (result != READ_OK) {
        return failedIn(which, result);
    }
    listener->field({which, 0, places.keyword, places.value});
    return result;
}

template <ScriptField Which>
int32_t ScriptLoader::readNumberField(ScriptReader& reader, int32_t& value) {
    // Numbers are converted only once the syntax has been checked throughout,
    // so a bad number is reported only for a file whose syntax is sound.
    char* text = valueBuffer;
    const int32_t result = readFieldOf(reader, Which, text);
    if (result != READ_OK || !checksValues()) {
        return result;
    }
    return parseInteger(text, value) ? READ_OK : badNumber(reader, Which);
}

int32_t ScriptLoader::badNumber(ScriptReader& reader, ScriptField which) {
    return recover(reader, failedIn(which, reader.syntaxError(scriptField(which).wrongNumberMessage,
                                                              LoadCause::NotANumber)));
}

int32_t ScriptLoader::recover(ScriptReader& reader, int32_t code) {
    if (!recovering) {
        return code;
    }
    state.detail.offset = reader.position();
    tellError(code, state.detail, true);
    ++toldNumbers;
    state.message = "";
    state.detail = {};
    where = {};
    return READ_OK;
}

int32_t ScriptLoader::readCharacterBlock(ScriptReader& reader) {
    if (reader.seekChar('{') != READ_OK) {
        return failedIn(ScriptBlock::Character,
                        reader.syntaxError(messages::BLOCK_OPEN_EXPECTED, LoadCause::EndOfFile));
    }
    Character* character = nullptr;
    if (checksValues()) {
        // A filling pass stops at the first character past the limit; a scan
        // tells that one and reads on.
        if (charactersRead == MAX_CHARACTERS) {
            const int32_t result =
                recover(reader, failedIn(ScriptBlock::Character,
                                         fail(LOAD_LIMIT, messages::TOO_MANY_CHARACTERS,
                                              LoadCause::TooManyCharacters, MAX_CHARACTERS)));
            if (result != READ_OK) {
                return result;
            }
        }
        if (builds()) {
            character = target.addCharacter();
            if (character == nullptr) {
                return failedIn(ScriptBlock::Character,
                                fail(LOAD_MEMORY, messages::OUT_OF_MEMORY, LoadCause::OutOfMemory));
            }
        }
        ++charactersRead;
    }
    tellOpen(ScriptBlock::Character, reader.position() - 1, reader.line());
    return readBlockBody(reader, character);
}

int32_t ScriptLoader::readBlockBody(ScriptReader& reader, Character* character) {
    int32_t unitCount = 0;
    for (;;) {
        char c = 0;
        if (reader.readChar(c, 0) != READ_OK) {
            return failedIn(
                ScriptBlock::Character,
                reader.syntaxError(messages::BLOCK_CLOSE_EXPECTED, LoadCause::EndOfFile));
        }
        if (c == '}') {
            tellClose(ScriptBlock::Character, reader.position() - 1, reader.line());
            return READ_OK;
        }
        if (c != '{') {
            // Text between units, quoted or not, is skipped.
            continue;
        }
        if (checksValues() && unitCount == MAX_UNITS) {
            const int32_t result = recover(
                reader, failedIn(ScriptBlock::Character, fail(LOAD_LIMIT, messages::TOO_MANY_UNITS,
                                                              LoadCause::TooManyUnits, MAX_UNITS)));
            if (result != READ_OK) {
                return result;
            }
        }
        tellOpen(ScriptBlock::Unit, reader.position() - 1, reader.line());
        // A record is made only for a unit read completely, so the unit is
        // read into a scratch copy first.
        TalkUnit scratch;
        const int32_t result = readTalkUnit(reader, scratch);
        if (result != READ_OK) {
            return result;
        }
        if (builds() && !ScriptBuilder::addUnit(*character, scratch)) {
            return failedIn(ScriptBlock::Character,
                            fail(LOAD_MEMORY, messages::OUT_OF_MEMORY, LoadCause::OutOfMemory));
        }
        ++unitCount;
    }
}

int32_t ScriptLoader::readTalkUnit(ScriptReader& reader, TalkUnit& unit) {
    // The fields are sought in this fixed order; A comes before ACT because
    // both are found by the same letter.
    int32_t result = readNumberField<ScriptField::State>(reader, unit.state);
    if (result == READ_OK) {
        result = readNumberField<ScriptField::Next>(reader, unit.nextState);
    }
    char* text = valueBuffer;
    if (result == READ_OK) {
        result = readFieldOf(reader, ScriptField::Question, text, ValueUse::Pooled);
    }
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), unit.question);
    }
    if (result == READ_OK) {
        result = readFieldOf(reader, ScriptField::Answer, text, ValueUse::Pooled);
    }
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), unit.answer);
    }
    if (result == READ_OK) {
        result = readFieldOf(reader, ScriptField::Action, text);
    }
    if (result != READ_OK) {
        return result;
    }
    const ActionKeyword* action = findActionKeyword(text);
    if (action == nullptr) {
        unit.action = -1;
        return failedIn(ScriptField::Action,
                        reader.syntaxError(messages::UNKNOWN_ACTION, LoadCause::UnknownAction));
    }
    unit.action = action->action;
    if (action->takesParam) {
        result = readFieldOf(reader, ScriptField::Param, text, ValueUse::Pooled);
        if (result == READ_OK) {
            result = poolText(reader.quotedText(), reader.quotedLength(), unit.param);
        }
        if (result != READ_OK) {
            return result;
        }
    }
    if (action->takesValue) {
        result = readNumberField<ScriptField::UnitValue>(reader, unit.value);
        if (result != READ_OK) {
            return result;
        }
    }
    unit.conditionCount = 0;
    int32_t conditionsRead = 0;
    for (Condition& slot : unit.conditions) {
        slot.op = 0;
    }
    for (;;) {
        char c = 0;
        if (reader.readChar(c, 0) != READ_OK) {
            return failedIn(ScriptBlock::Unit, reader.syntaxError(messages::CONDITION_LIST_OPEN,
                                                                  LoadCause::EndOfFile));
        }
        if (c == '}') {
            tellClose(ScriptBlock::Unit, reader.position() - 1, reader.line());
            return READ_OK;
        }
        if (c != '{') {
            // Whatever stands here without a brace is skipped, including a
            // PARAM or VAL written for an action that takes none.
            continue;
        }
        if (conditionsRead == MAX_CONDITIONS) {
            result = recover(reader, failedIn(ScriptBlock::Unit,
                                              fail(LOAD_LIMIT, messages::TOO_MANY_CONDITIONS,
                                                   LoadCause::TooManyConditions, MAX_CONDITIONS)));
            if (result != READ_OK) {
                return result;
            }
        }
        tellOpen(ScriptBlock::Condition, reader.position() - 1, reader.line());
        Condition scratch;
        result = readCondition(reader, scratch);
        if (result != READ_OK) {
            return result;
        }
        // Only a scan reads on past the last slot.
        if (conditionsRead < MAX_CONDITIONS) {
            unit.conditions[unit.conditionCount] = scratch;
            ++unit.conditionCount;
        }
        ++conditionsRead;
    }
}

int32_t ScriptLoader::readCondition(ScriptReader& reader, Condition& condition) {
    char text[SHORT_LIMIT];
    int32_t result = readFieldOf(reader, ScriptField::Variable, text, ValueUse::Pooled);
    if (result == READ_OK) {
        result = poolText(reader.quotedText(), reader.quotedLength(), condition.variable);
    }
    if (result == READ_OK) {
        result = readFieldOf(reader, ScriptField::Operator, text);
    }
    if (result != READ_OK) {
        return result;
    }
    condition.op = findOperatorKeyword(text);
    if (condition.op == 0) {
        return failedIn(ScriptField::Operator,
                        reader.syntaxError(messages::WRONG_OPERATOR, LoadCause::UnknownOperator));
    }
    if (condition.op != OP_NOT) {
        result = readNumberField<ScriptField::ConditionValue>(reader, condition.value);
        if (result != READ_OK) {
            return result;
        }
    }
    result = expectChar(reader, '}', messages::BLOCK_CLOSE_EXPECTED);
    if (result != READ_OK) {
        return failedIn(ScriptBlock::Condition, result);
    }
    tellClose(ScriptBlock::Condition, reader.position() - 1, reader.line());
    return result;
}

} // namespace murmex
