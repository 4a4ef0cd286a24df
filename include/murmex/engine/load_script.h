// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// Loading a script from any byte source, with the whole result: code, line,
// message and the cause in plain words. ConversationEngine::load and
// loadFromMemory come here and keep only the code.
#pragma once

#include "murmex/engine/conversation_engine.h"
#include "murmex/load_result.h"
#include "murmex/script_source.h"

namespace murmex {

// Loads the source into the engine, which must not hold a script yet. Sets
// the engine's line and errorMessage as load() does.
LoadResult loadScriptFrom(ConversationEngine& engine, ScriptSource& source);

} // namespace murmex
