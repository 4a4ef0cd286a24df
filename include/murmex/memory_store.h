// Kept so that code including this path still builds: the header now stands
// at murmex/engine/memory_store.h, with the engine API.
#pragma once

#include "murmex/engine/memory_store.h"
