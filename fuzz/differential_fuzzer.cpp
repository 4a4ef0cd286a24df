// Fuzzes descrambling against plain reading. The input is a plain script: it
// is loaded as it stands with descrambling off, and scrambled with the key of
// each offset with descrambling on. Both loads must end alike (code, line,
// message) and build the same model, and each successful load must fill its
// pool exactly.
#include "model_checks.h"
#include "murmex/conversation_engine.h"
#include "murmex/scrambling.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using murmex::ConversationEngine;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> scrambled(data, data + size);
    murmex::scrambleBytes(scrambled.data(), scrambled.size());

    ConversationEngine plain;
    plain.disableDescramble();
    const int32_t plainResult = plain.loadFromMemory(data, size);
    ConversationEngine descrambled;
    const int32_t descrambledResult = descrambled.loadFromMemory(scrambled.data(), size);

    murmex::fuzz::checkLoadedModel(plain, plainResult);
    murmex::fuzz::checkLoadedModel(descrambled, descrambledResult);
    if (plainResult != descrambledResult || plain.line != descrambled.line ||
        std::strcmp(plain.errorMessage, descrambled.errorMessage) != 0) {
        std::fprintf(stderr, "plain: %d line %d \"%s\"; descrambled: %d line %d \"%s\"\n",
                     plainResult, plain.line, plain.errorMessage, descrambledResult,
                     descrambled.line, descrambled.errorMessage);
        murmex::fuzz::fail("the two loads ended differently");
    }
    if (!murmex::fuzz::sameModel(plain, descrambled)) {
        murmex::fuzz::fail("the two loads built different models");
    }
    return 0;
}
