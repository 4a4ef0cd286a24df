// Builds characters and talk units in memory, without a script file, for the
// engine's tests. Texts are string literals, which outlive every engine.
#pragma once

#include "murmex/conversation_engine.h"

#include <initializer_list>
#include <memory>

namespace murmex::testing {

inline TalkUnit unit(int32_t state, int32_t nextState, const char* question, const char* answer,
                     int32_t action = ACT_NONE, const char* param = "", int32_t value = 0) {
    TalkUnit made;
    made.state = state;
    made.nextState = nextState;
    made.question = question;
    made.answer = answer;
    made.action = action;
    made.param = param;
    made.value = value;
    return made;
}

inline TalkUnit when(TalkUnit made, const char* variable, uint8_t op, int32_t value = 0) {
    made.conditions[made.conditionCount++] = Condition{variable, op, value};
    return made;
}

inline Character& addCharacter(ConversationEngine& engine, const char* name,
                               std::initializer_list<TalkUnit> units) {
    auto character = std::make_unique<Character>();
    character->name = name;
    for (const TalkUnit& made : units) {
        character->units[character->unitCount++] = std::make_unique<TalkUnit>(made);
    }
    engine.characters[engine.characterCount] = std::move(character);
    return *engine.characters[engine.characterCount++];
}

} // namespace murmex::testing
