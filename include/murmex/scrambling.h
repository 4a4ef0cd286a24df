// Kept so that code including this path still builds: the header now stands
// at murmex/authoring/scrambling.h, with the tools' API.
#pragma once

#include "murmex/authoring/scrambling.h"
