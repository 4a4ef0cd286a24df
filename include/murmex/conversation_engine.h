// The conversation engine: owns a loaded script (characters, string pool) and
// the game state, and plays one conversation at a time.
#pragma once

#include "murmex/conversation_view.h"
#include "murmex/memory_store.h"
#include "murmex/script_model.h"

#include <cstdint>
#include <memory>

namespace murmex {

class ScriptReader;
struct ScriptLines;

// One colour of the script header, as the script gives it.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// Load results: 0 or more is success. A successful load returns LOAD_OK.
constexpr int32_t LOAD_OK = 1;
constexpr int32_t LOAD_CANNOT_OPEN = -1;
constexpr int32_t LOAD_BAD_MAGIC = -2;
constexpr int32_t LOAD_SYNTAX = -3;
constexpr int32_t LOAD_MEMORY = -4;
constexpr int32_t LOAD_LIMIT = -5;

class ConversationEngine {
public:
    ConversationEngine();
    virtual ~ConversationEngine();
    ConversationEngine(const ConversationEngine&) = delete;
    ConversationEngine& operator=(const ConversationEngine&) = delete;

    // Script files are then read as they stand instead of descrambled.
    void disableDescramble() { descramble = 0; }

    // Copies text with its zero into the pool at `used` and returns the copy.
    // Returns null, writing nothing, when the text does not fit in the block
    // (the file grew between the loader's two passes).
    const char* addString(const char* text);
    // The same for the first `length` bytes of text, which need not be
    // zero-terminated.
    const char* addString(const char* text, size_t length);

    // Loads a script file in two passes; LOAD_OK or a negative code, with
    // `line` and `errorMessage` telling where and what. Defined by the loader.
    int32_t load(const char* fileName);

    // Index of the first character with exactly this name, or -1.
    int32_t findCharacter(const char* name);
    // Starts a conversation: 0, or -1 (no such index), -2 (no initial answer),
    // -3 (no question to offer).
    int32_t startCharacter(int32_t index, ConversationView& view);
    // Applies the question at `position` of the view. The character's new state
    // (0 or more), RESULT_SWITCH, RESULT_FAILED, or another negative state when
    // the conversation has ended.
    int32_t applyQuestion(int32_t position, ConversationView& view);

    // Size of the pool block in bytes (what the measuring pass counted).
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
    int32_t loadPass(const char* fileName, int32_t measuring);
    int32_t readMagicLine(ScriptReader& reader);
    int32_t readHeader(ScriptReader& reader);
    int32_t readCharacterBlock(ScriptReader& reader, int32_t measuring);
    int32_t readTalkUnit(ScriptReader& reader, TalkUnit& unit, int32_t measuring);
    int32_t readCondition(ScriptReader& reader, Condition& condition, int32_t measuring);
    // Measuring pass: adds the text's size to `used`. Filling pass: copies it
    // into the pool and points `pooled` at the copy.
    int32_t poolText(const char* text, int32_t length, int32_t measuring, const char*& pooled);

    // Set by a measuring pass whose texts would need more than the largest
    // signed 32-bit count of bytes; the load then fails like an allocation.
    bool poolTooLarge = false;

    // Size of `block`, so that addString can refuse to write past it.
    uint32_t poolSize = 0;
};

} // namespace murmex
