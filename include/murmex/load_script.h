// Kept so that code including this path still builds: the header now stands
// at murmex/engine/load_script.h, with the engine API.
#pragma once

#include "murmex/engine/load_script.h"
