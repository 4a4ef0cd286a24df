// The player's reaction to each result of a conversation step.
#include "murmex/conversation_flow.h"

#include "engine/flow_rules.h"

namespace murmex {

namespace {

// The flow hears no events: it only starts the next character.
struct QuietFlow {
    ConversationFlow& flow;
    bool start(const char* name) { return flow.start(name); }
    bool startGame() { return flow.startGame(); }
    void handedOver(const char*) {}
    void ended(const char*) {}
};

} // namespace

UnitEffect unitEffect(const TalkUnit& unit) {
    if (unit.question == nullptr || unit.question[0] == 0) {
        return UnitEffect::Opens;
    }
    // Applying ACT_COMM puts the character in RESULT_SWITCH whatever its next state.
    if (unit.action == ACT_COMM || unit.nextState == RESULT_SWITCH) {
        return UnitEffect::HandsOver;
    }
    if (unit.nextState == RESULT_FAILED) {
        return UnitEffect::Stops;
    }
    return unit.nextState < 0 ? UnitEffect::Ends : UnitEffect::Continues;
}

const char* handOverName(const TalkUnit& unit) {
    return unit.action == ACT_COMM ? unit.param : unit.answer;
}

bool answerCanBeShown(const TalkUnit& unit) {
    const UnitEffect effect = unitEffect(unit);
    return effect == UnitEffect::Continues || (effect == UnitEffect::Opens && unit.state == 0);
}

bool ConversationFlow::start(const char* name) {
    const int32_t index = engine.findCharacter(name);
    if (index < 0) {
        return false;
    }
    return engine.startCharacter(index, view) == 0;
}

StepOutcome ConversationFlow::choose(int32_t position) {
    const int32_t result = engine.applyQuestion(position, view);
    QuietFlow quiet{*this};
    return flow_rules::followStep(quiet, result, view.answer);
}

} // namespace murmex
