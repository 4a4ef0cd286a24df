// Why a conversation step or a start failed, in the author's terms: the
// engine only says "Can't apply question!" or "Character not found!", while
// the author needs the character, its state, the question, the line of the
// unit and what was missing.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/conversation_flow.h"
#include "tools/script_io/script_places.h"

#include <cstdint>
#include <string>

namespace murmex::tool {

struct StepFailure {
    // The character talked to and its state before the step; for a failed
    // start, the character asked for and state 0.
    std::string character;
    int32_t state = 0;
    // The chosen question as shown; empty for a failed start.
    std::string question;
    // 1-based script line of the applied unit; 0 for a failed start.
    int32_t line = 0;
    // The engine's own message and what caused it.
    std::string message;
    std::string cause;
};

// A failed choice of `unit` of character `character`, which was in `state`.
StepFailure explainStepFailure(const ConversationEngine& engine, const ScriptPlaces& lines,
                               int32_t character, int32_t state, int32_t unit,
                               const StepOutcome& outcome);

// A failed start of the character called `name`.
StepFailure explainStartFailure(const ConversationEngine& engine, const std::string& name);

// The failure in a few lines for the preview's panel.
std::string failureText(const StepFailure& failure);

} // namespace murmex::tool
