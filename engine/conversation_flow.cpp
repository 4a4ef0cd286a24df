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
