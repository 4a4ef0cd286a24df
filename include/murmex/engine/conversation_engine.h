// The engine API, for the player and for tools that play a script step by
// step; a game embeds Script and Game (murmex/script.h, murmex/game.h) instead.
// The conversation engine: a loaded script (the ScriptModel it is built on)
// with the game state, playing one conversation at a time.
#pragma once

#include "murmex/engine/conversation_view.h"
#include "murmex/engine/memory_store.h"
#include "murmex/load_result.h"
#include "murmex/script_model.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace murmex {

struct ScriptLines;

class ConversationEngine : public ScriptModel {
  public:
    ConversationEngine();
    ~ConversationEngine() override;
    ConversationEngine(const ConversationEngine&) = delete;
    ConversationEngine& operator=(const ConversationEngine&) = delete;

    // Script files are then read as they stand instead of descrambled.
    void disableDescramble() { descramble = 0; }

    // The loader's: copies text with its zero into the pool at `used` and
    // returns the copy. Returns null, writing nothing, when the text does not
    // fit in the pool (the file grew between the loader's two passes). The
    // loader's builder holds the rule; this only hands it the engine.
    const char* addString(const char* text);
    // The same for the first `length` bytes of text, which need not be
    // zero-terminated.
    const char* addString(const char* text, size_t length);

    // Loads a script file in two passes; LOAD_OK or a negative code, with
    // `line` and `errorMessage` telling where and what. Defined by the loader,
    // like the one below; loadScriptFrom (load_script.h) also gives the
    // cause in plain words.
    int32_t load(const char* fileName);
    // The same for a script the caller holds in memory (read from an archive,
    // say); the bytes must stay unchanged until the call returns.
    int32_t loadFromMemory(const void* data, size_t size);

    // The loader's: makes the pool `size` bytes and empties it, for the
    // filling pass, through the loader's builder. False when the pool can't
    // be allocated, or when the engine holds a pool or characters already
    // (their texts point into it).
    bool reservePool(int32_t size);

    // Index of the first character with exactly this name, or -1, as
    // indexOfCharacter (the model's) finds it, noting the error when none is.
    int32_t findCharacter(const char* name);
    // Starts a conversation: 0, or -1 (no such index), -2 (no initial answer),
    // -3 (no question to offer).
    int32_t startCharacter(int32_t index, ConversationView& view);
    // Applies the question at `position` of the view. The character's new state
    // (0 or more), RESULT_SWITCH, RESULT_FAILED, or another negative state when
    // the conversation has ended.
    int32_t applyQuestion(int32_t position, ConversationView& view);

    // The characters, the pool, the title, the colours and blockSize() are
    // the model's.

    // The loader's: bytes the texts need (measuring pass), then bytes
    // already filled.
    int32_t used = 0;
    // Variables and money; they outlive every conversation.
    MemoryStore memory;
    // 1-based line the loader has reached; where a load error stands.
    int32_t line = 1;
    // Fixed text of the last error; never freed.
    const char* errorMessage = "";
    // Non-zero: every byte of a script file is descrambled as it is read.
    int32_t descramble = 1;
    // When set before a load, the filling pass notes there the line of every
    // character and talk unit it creates. Not owned; null leaves the load as
    // it is, so a game that doesn't ask pays nothing.
    ScriptLines* scriptLines = nullptr;
};

} // namespace murmex
