// What one load has reached: the line, the message and the cause of its
// failure. The reader and every step of the grammar write here, so the loader
// hands its caller one result instead of fields to read back.
#pragma once

#include "murmex/load_result.h"

#include <cstdint>

namespace murmex {

// Reader results; the loader passes them on with the same meaning.
constexpr int32_t READ_OK = 0;
constexpr int32_t READ_END = 1;

struct LoadState {
    // 1-based line the reader stands on.
    int32_t line = 1;
    // The fixed text of the failure. A step that knows better what was
    // expected replaces a deeper step's text, as the player's messages demand.
    const char* message = "";
    // The cause in plain words. Sticky: the deepest step that notes one knows
    // the most, and outer steps leave it alone.
    LoadDetail detail;

    void noteCause(LoadCause cause, int32_t causeLine = 0, int32_t number = 0) {
        if (detail.cause == LoadCause::None && cause != LoadCause::None) {
            detail = {cause, causeLine, number};
        }
    }
    // A new pass starts with a clean slate.
    void startPass() {
        line = 1;
        detail = {};
    }
};

} // namespace murmex
