// The two-pass loader behind ConversationEngine::load: it reads a script from
// a source into an engine. The measuring pass checks everything it can and
// counts the bytes of the texts; the pool is then allocated with exactly that
// size; the filling pass reads the source again, creates the records and
// copies the texts. Both passes run the same code, switched by the pass.
#pragma once

#include "loader/load_state.h"
#include "loader/script_reader.h"
#include "murmex/conversation_engine.h"

#include <cstdint>

namespace murmex {

enum class Pass { Measuring, Filling };

class ScriptLoader {
  public:
    ScriptLoader(ConversationEngine& target, ScriptSource& bytes) : engine(target), source(bytes) {}
    ScriptLoader(const ScriptLoader&) = delete;
    ScriptLoader& operator=(const ScriptLoader&) = delete;

    LoadResult load();

    // The magic first line, read as a load reads it: READ_OK, READ_END for a
    // source that ends within it (nothing to load, which is not an error), or
    // LOAD_BAD_MAGIC with the cause noted.
    static int32_t readMagicLine(ScriptReader& reader);

  private:
    int32_t runPass(Pass pass, uint8_t* chunk);
    // The script from its first line to the end of the source.
    int32_t readScript(ScriptReader& reader);
    // Filling pass: the pass's result, or LOAD_MEMORY with the file-changed
    // message when its bytes were not the measuring pass's.
    int32_t checkSameBytes(ScriptReader& reader, int32_t result);
    int32_t readHeader(ScriptReader& reader);
    int32_t readCharacterBlock(ScriptReader& reader);
    int32_t readTalkUnit(ScriptReader& reader, TalkUnit& unit);
    int32_t readCondition(ScriptReader& reader, Condition& condition);
    int32_t readNumberField(ScriptReader& reader, char letter, const char* missingMessage,
                            int32_t limit, const char* wrongNumberMessage, int32_t& value);
    // Measuring pass: adds the text's size to the pool's. Filling pass:
    // copies it into the pool and points `pooled` at the copy.
    int32_t poolText(const char* text, int32_t length, const char*& pooled);
    bool measuring() const { return pass == Pass::Measuring; }
    // Fails the load with a fixed message and a cause.
    int32_t fail(int32_t code, const char* message, LoadCause cause, int32_t number = 0);
    // Fails the pass whatever it noted before.
    int32_t failWith(int32_t code, const char* message, LoadCause cause);

    ConversationEngine& engine;
    ScriptSource& source;
    LoadState state;
    Pass pass = Pass::Measuring;
    // TEXT_LIMIT bytes on the heap that one value at a time is read into:
    // each is used up before the next is read.
    char* valueBuffer = nullptr;
    // Set by a measuring pass whose texts would need more than the largest
    // signed 32-bit count of bytes; the load then fails like an allocation.
    bool poolTooLarge = false;
    // The bytes the measuring pass read; the filling pass must read the same.
    SourceFingerprint measured;
};

} // namespace murmex
