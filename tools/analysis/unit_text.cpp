// Short wordings of conditions, actions and texts.
#include "tools/analysis/unit_text.h"

#include "murmex/conversation_flow.h"
#include "murmex/memory_store.h"
#include "murmex/script_keywords.h"
#include "text/display_text.h"

#include <cstring>

namespace murmex::tool {

namespace {

// Variable names and items are short in any sensible script; a graph label
// stays readable when a long one is cut.
constexpr size_t OPERAND_CHARACTERS = 24;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string shortText(const char* bytes, size_t maxCharacters) {
    const std::string text = displayText(bytes);
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isUtf8Continuation(text[i])) {
            continue;
        }
        if (characters == maxCharacters) {
            return text.substr(0, i) + "...";
        }
        ++characters;
    }
    return text;
}

std::string unitDescription(const Character& character, const TalkUnit& unit,
                            size_t maxCharacters) {
    const bool isAnswer = unit.question[0] == 0;
    return (isAnswer ? "initial answer \"" + shortText(unit.answer, maxCharacters)
                     : "question \"" + shortText(unit.question, maxCharacters)) +
           "\" of \"" + shortText(character.name, maxCharacters) + "\" (state " +
           std::to_string(unit.state) + ")";
}

std::string conditionText(const Condition& condition) {
    const std::string variable = shortText(condition.variable, OPERAND_CHARACTERS);
    const char* keyword = operatorKeyword(condition.op);
    const char* op = keyword != nullptr ? keyword : "?";
    if (condition.op == OP_NOT) {
        return variable + " not";
    }
    return variable + " " + op + " " + std::to_string(condition.value);
}

std::string conditionsText(const TalkUnit& unit) {
    std::string text;
    for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
        text += (i == 0 ? "" : ", ") + conditionText(unit.conditions[i]);
    }
    return text;
}

std::string effectText(const TalkUnit& unit) {
    const std::string next = std::to_string(unit.nextState);
    switch (unitEffect(unit)) {
    case UnitEffect::Opens:
        return "";
    case UnitEffect::Continues:
        return "goes to state " + next;
    case UnitEffect::HandsOver:
        return "hands the conversation over to " +
               shortText(handOverName(unit), OPERAND_CHARACTERS);
    case UnitEffect::Ends:
        return "ends the conversation (" + next + ")";
    case UnitEffect::Stops:
        return "stops the game as after a failure (" + next + ")";
    }
    return "";
}

std::string actionText(const TalkUnit& unit) {
    const std::string param = shortText(unit.param, OPERAND_CHARACTERS);
    const std::string value = std::to_string(unit.value);
    switch (unit.action) {
    case ACT_COMM:
        return "switch to " + param;
    case ACT_ADD_MEM:
        return "set " + param + " = " + value;
    case ACT_SUB_MEM:
        return "remove " + param;
    case ACT_ADD_INV:
        return "give " + value + " " + param;
    case ACT_SUB_INV:
        return "take " + param;
    case ACT_ADD_MONEY:
        return "money + " + value;
    case ACT_SUB_MONEY:
        return "money - " + value;
    default:
        return "";
    }
}

std::string storedName(const char* name) {
    if (name == nullptr) {
        return "";
    }
    return std::string(name, strnlen(name, MAX_NAME_LENGTH));
}

bool hasHighBytes(const char* name) {
    for (const char* c = name; c != nullptr && *c != 0; ++c) {
        if (static_cast<unsigned char>(*c) > 127) {
            return true;
        }
    }
    return false;
}

} // namespace murmex::tool
