// What must hold of an engine after any load, whatever the file held, and
// whether two engines hold the same model. The fuzzers abort with a message
// when either fails, so that libFuzzer keeps the input as a finding.
#pragma once

#include "murmex/conversation_engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace murmex::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "model check failed: %s\n", what);
    std::abort();
}

// True when text is a whole zero-terminated text inside the pool block.
inline bool pooled(const ConversationEngine& engine, const char* text) {
    const char* begin = engine.block.get();
    const char* end = begin + engine.blockSize();
    if (text == nullptr || begin == nullptr || text < begin || text >= end) {
        return false;
    }
    return std::memchr(text, 0, static_cast<size_t>(end - text)) != nullptr;
}

// The records a load made are whole, within their capacities, and point
// into the pool only; after a successful load the pool is exactly full.
inline void checkLoadedModel(const ConversationEngine& engine, int32_t result) {
    if (engine.characterCount < 0 || engine.characterCount > MAX_CHARACTERS) {
        fail("character count out of range");
    }
    if (std::memchr(engine.title, 0, sizeof(engine.title)) == nullptr) {
        fail("title not terminated");
    }
    if (engine.errorMessage == nullptr) {
        fail("no error text");
    }
    if (result >= 0 &&
        (engine.block == nullptr || static_cast<uint32_t>(engine.used) != engine.blockSize())) {
        fail("pool not exactly full after a successful load");
    }
    // Before the block exists `used` is the measured count, which may be anything.
    if (engine.block != nullptr &&
        (engine.used < 0 || static_cast<uint32_t>(engine.used) > engine.blockSize())) {
        fail("pool count outside the block");
    }
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        const Character* character = engine.characters[c].get();
        if (character == nullptr) {
            fail("character slot below the count is empty");
        }
        // Only the character whose block failed may be nameless, and only the last.
        const bool last = c == engine.characterCount - 1;
        if (character->name == nullptr ? !(last && result < 0) : !pooled(engine, character->name)) {
            fail("character name missing or outside the pool");
        }
        if (character->unitCount < 0 || character->unitCount > MAX_UNITS) {
            fail("unit count out of range");
        }
        for (int32_t u = 0; u < character->unitCount; ++u) {
            const TalkUnit* unit = character->units[u].get();
            if (unit == nullptr) {
                fail("unit slot below the count is empty");
            }
            if (!pooled(engine, unit->question) || !pooled(engine, unit->answer)) {
                fail("question or answer outside the pool");
            }
            if (unit->action < ACT_NONE || unit->action > ACT_SUB_MONEY) {
                fail("unknown action stored");
            }
            if (unit->action != ACT_NONE && !pooled(engine, unit->param)) {
                fail("param outside the pool");
            }
            if (unit->conditionCount < 0 || unit->conditionCount > MAX_CONDITIONS) {
                fail("condition count out of range");
            }
            for (int32_t k = 0; k < unit->conditionCount; ++k) {
                const Condition& condition = unit->conditions[k];
                if (!pooled(engine, condition.variable)) {
                    fail("condition variable outside the pool");
                }
                if (condition.op < OP_EQUAL || condition.op > OP_NOT) {
                    fail("unknown operator stored");
                }
            }
        }
    }
}

// Texts equal as texts; both absent counts as equal.
inline bool sameText(const char* left, const char* right) {
    if (left == nullptr || right == nullptr) {
        return left == right;
    }
    return std::strcmp(left, right) == 0;
}

inline bool sameUnit(const TalkUnit& left, const TalkUnit& right) {
    if (left.state != right.state || left.nextState != right.nextState ||
        !sameText(left.question, right.question) || !sameText(left.answer, right.answer) ||
        left.action != right.action || left.value != right.value ||
        left.conditionCount != right.conditionCount) {
        return false;
    }
    if (left.action != ACT_NONE && !sameText(left.param, right.param)) {
        return false;
    }
    for (int32_t k = 0; k < left.conditionCount; ++k) {
        const Condition& a = left.conditions[k];
        const Condition& b = right.conditions[k];
        // A "not" condition has no value to compare.
        if (!sameText(a.variable, b.variable) || a.op != b.op ||
            (a.op != OP_NOT && a.value != b.value)) {
            return false;
        }
    }
    return true;
}

// Everything a load puts into an engine: header, pool size, characters, units.
inline bool sameModel(const ConversationEngine& left, const ConversationEngine& right) {
    if (std::strcmp(left.title, right.title) != 0 || left.used != right.used ||
        left.blockSize() != right.blockSize() ||
        (left.block == nullptr) != (right.block == nullptr) ||
        left.characterCount != right.characterCount) {
        return false;
    }
    if (std::memcmp(&left.color, &right.color, sizeof(Rgb)) != 0 ||
        std::memcmp(&left.textColor, &right.textColor, sizeof(Rgb)) != 0) {
        return false;
    }
    for (int32_t c = 0; c < left.characterCount; ++c) {
        const Character& a = *left.characters[c];
        const Character& b = *right.characters[c];
        if (!sameText(a.name, b.name) || a.unitCount != b.unitCount) {
            return false;
        }
        for (int32_t u = 0; u < a.unitCount; ++u) {
            if (!sameUnit(*a.units[u], *b.units[u])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace murmex::fuzz
