// Generates the scripts the benchmarks load and play, at run time, so that
// nothing large is committed.
#pragma once

#include <cstdint>
#include <string>

namespace murmex::bench {

struct ScriptShape {
    int32_t characters;
    int32_t unitsPerCharacter;
    int32_t conditionsPerUnit;
    int32_t questionLength;
    int32_t answerLength;
    // When set, each unit's question and answer take a length between 10
    // and the lengths above, and between none and conditionsPerUnit
    // conditions, drawn from a fixed seed: a script as people write them.
    bool varied = false;
};

// A plain script of the given shape. Every character starts in state 0 with
// an initial answer; its units spread over states and test variables v0, v1, ...
std::string generateScript(const ScriptShape& shape);

// The same bytes scrambled with the key by file offset.
std::string scramble(const std::string& plain);

// Writes the bytes to a file; false on failure.
bool writeFile(const std::string& path, const std::string& bytes);

// 500 distinct names that all hash to the same slot, so a full table holds
// them in one run and looking up the later ones probes far.
std::string collidingName(int32_t index);

} // namespace murmex::bench
