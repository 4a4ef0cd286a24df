// Kept so that code including this path still builds: the header now stands
// at murmex/engine/conversation_engine.h, with the engine API.
#pragma once

#include "murmex/engine/conversation_engine.h"
