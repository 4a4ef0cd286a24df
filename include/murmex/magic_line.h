// Kept so that code including this path still builds: the header now stands
// at murmex/authoring/magic_line.h, with the tools' API.
#pragma once

#include "murmex/authoring/magic_line.h"
