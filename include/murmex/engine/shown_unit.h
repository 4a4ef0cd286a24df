// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// Which talk unit's answer a view shows. Every answer is its own copy in the
// script's pool, so the text's address tells the unit: after any step the
// view shows an opening answer or the answer of the unit chosen, and a saved
// game brings the same text back.
#pragma once

#include "murmex/engine/conversation_view.h"
#include "murmex/script_model.h"

#include <cstdint>

namespace murmex {

// Index of the unit, among the shown character's units, whose answer the
// view shows; -1 when it shows none.
int32_t answeringUnit(const ScriptModel& script, const ConversationView& view);

} // namespace murmex
