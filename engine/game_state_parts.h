// The steps of taking, checking, applying, saving and restoring a game state,
// for the engine's own functions and for a Game, whose character states and
// memory live outside the script. Each step is written once here.
#pragma once

#include "murmex/game_state.h"

#include <cstddef>
#include <cstdint>

namespace murmex::game_state {

// Takes what the view shows into `out`, whose characterCount, states and
// memory the caller has filled, and checks the whole value against the
// script. GAME_STATE_OK or GAME_STATE_UNFIT.
int32_t captureView(const ConversationEngine& script, const ConversationView& view, GameState& out);

// True when every index and text of the value belongs to the script.
bool fits(const GameState& state, const ConversationEngine& script);

// Puts what the value shows into the view; the value must fit the script.
void showView(const GameState& state, const ConversationEngine& script, ConversationView& view);

// The value as saved-game bytes bound to the script with `digest`; the
// results and `written` as saveGameState gives them.
int32_t encode(const GameState& state, uint64_t digest, uint8_t* out, size_t capacity,
               size_t& written);

// Reads saved-game bytes into `out` after checking their frame and digest;
// the indices are left for fits() to check.
int32_t decode(const uint8_t* bytes, size_t size, uint64_t digest, GameState& out);

} // namespace murmex::game_state
