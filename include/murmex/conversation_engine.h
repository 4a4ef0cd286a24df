// The conversation engine: owns a loaded script (characters, string pool) and
// the game state, and plays one conversation at a time.
#pragma once

#include "murmex/conversation_view.h"
#include "murmex/load_result.h"
#include "murmex/memory_store.h"
#include "murmex/script_model.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace murmex {

struct ScriptLines;

// One colour of the script header, as the script gives it.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

class ConversationEngine {
  public:
    ConversationEngine();
    virtual ~ConversationEngine();
    ConversationEngine(const ConversationEngine&) = delete;
    ConversationEngine& operator=(const ConversationEngine&) = delete;

    // Script files are then read as they stand instead of descrambled.
    void disableDescramble() { descramble = 0; }

    // Copies text with its zero into the pool at `used` and returns the copy.
    // Returns null, writing nothing, when the text does not fit in the pool
    // (the file grew between the loader's two passes).
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

    // Makes the pool `size` bytes and empties it, for the loader's filling
    // pass. False when the pool can't be allocated, or when the engine holds
    // a pool or characters already (their texts point into it).
    bool reservePool(int32_t size);

    // Index of the first character with exactly this name, or -1.
    int32_t findCharacter(const char* name);
    // The same without touching errorMessage, for callers that only ask.
    int32_t indexOfCharacter(const char* name) const;
    // Starts a conversation: 0, or -1 (no such index), -2 (no initial answer),
    // -3 (no question to offer).
    int32_t startCharacter(int32_t index, ConversationView& view);
    // Applies the question at `position` of the view. The character's new state
    // (0 or more), RESULT_SWITCH, RESULT_FAILED, or another negative state when
    // the conversation has ended.
    int32_t applyQuestion(int32_t position, ConversationView& view);

    // Size of the pool in bytes (what the measuring pass counted).
    uint32_t blockSize() const { return poolSize; }

    // Characters in script order; entries below characterCount are in use.
    std::unique_ptr<Character> characters[MAX_CHARACTERS];
    // 0 to MAX_CHARACTERS.
    int32_t characterCount = 0;
    // The string pool: one block holding every text of the script.
    std::unique_ptr<char[]> block;
    // Bytes the texts need (measuring pass), then bytes already filled.
    int32_t used = 0;
    // Variables and money; they outlive every conversation.
    MemoryStore memory;
    // Script title, shown as the window caption.
    char title[MAX_TITLE + 1];
    // First header colour: the window and line backgrounds, the hover text.
    Rgb color;
    // Second header colour: the question and answer texts.
    Rgb textColor;
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

  private:
    // Size of the pool, so that addString can refuse to write past it.
    uint32_t poolSize = 0;
};

} // namespace murmex
