// The loader's one writer of a script model: the string pool, made once with
// the size the measuring pass counted and then filled text by text, and the
// characters and talk units the filling pass creates.
#pragma once

#include "murmex/script_model.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

class ScriptBuilder {
  public:
    // Builds into `target`; `filled` is the running count of pool bytes,
    // which the measuring pass adds up and the filling pass advances. An
    // engine keeps it as its own `used`; any other target lends a local.
    ScriptBuilder(ScriptModel& target, int32_t& filled) : model(target), used(filled) {}

    // Makes the pool `size` bytes and empties it. False when the pool can't
    // be allocated, or when the model holds a pool or characters already
    // (their texts point into it).
    bool reservePool(int32_t size);
    // Copies the first `length` bytes of text and a zero into the pool at
    // `used` and returns the copy. Null, writing nothing, when they do not
    // fit (the source grew between the loader's two passes).
    const char* addString(const char* text, size_t length);

    // Zeroes the bytes of the pool that no text has filled: none after a
    // whole load, the rest after one that stopped early. Readers of a model
    // take its whole pool, so none of it may be left undefined; zeroing it
    // when it is made would cost a large script's load dearly.
    void zeroUnfilled();

    // A new character appended to the model, or null when memory runs out;
    // the caller has checked MAX_CHARACTERS.
    Character* addCharacter();
    // A heap copy of the unit appended to the character's units; false when
    // memory runs out. The caller has checked MAX_UNITS.
    static bool addUnit(Character& character, const TalkUnit& unit);

    ScriptModel& model;
    int32_t& used;
};

} // namespace murmex
