// Kept so that code including this path still builds: the header now stands
// at murmex/authoring/script_syntax.h, with the tools' API.
#pragma once

#include "murmex/authoring/script_syntax.h"
