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
int32_t captureView(const ScriptModel& script, const ConversationView& view, GameState& out);

// True when every index and text of the value belongs to the script.
bool fits(const GameState& state, const ScriptModel& script);

// Puts what the value shows into the view; the value must fit the script.
void showView(const GameState& state, const ScriptModel& script, ConversationView& view);

// The value, which fits `script` (whose digest is `digest`), as version 2
// saved-game bytes; the results and `written` as saveGameState gives them.
int32_t encode(const GameState& state, const ScriptModel& script, uint64_t digest, uint8_t* out,
               size_t capacity, size_t& written);

// The same in version 1's layout, as games wrote before version 2; for the
// tests and fuzzing that check such bytes still restore.
int32_t encodeVersion1(const GameState& state, uint64_t digest, uint8_t* out, size_t capacity,
                       size_t& written);

// Whether a version 2 saved game may restore into a script other than its own.
enum class ScriptMatch { Migrate, Strict };

// Reads saved-game bytes of either version into `out` for `script`, whose
// digest is `digest`, after checking their frame: version 1 as it stands, for
// the same script only; version 2 found again in the script by its names
// (with Strict, in the same script only). The indices are left for fits() to
// check. `refusal` gets the result, and for version 2 the character and unit
// it is about.
int32_t decode(const uint8_t* bytes, size_t size, const ScriptModel& script, uint64_t digest,
               ScriptMatch match, GameState& out, GameStateRefusal& refusal);

} // namespace murmex::game_state
