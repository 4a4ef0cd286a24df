// The engine's load entry points: ConversationEngine::load and
// loadFromMemory, and loadScriptFrom, which all run the two-pass loader and
// leave the line and message of the result in the engine.
#include "loader/script_line_notes.h"
#include "loader/script_loader.h"
#include "murmex/load_script.h"
#include "murmex/script_lines.h"

namespace murmex {

namespace {
LoadResult loadTelling(ConversationEngine& engine, ScriptSource& source, SyntaxListener* listener) {
    ScriptLoader loader(engine, source);
    // The table of lines is filled from what the loader tells.
    ScriptLineNotes notes(engine.scriptLines, listener);
    loader.tell(engine.scriptLines != nullptr ? &notes : listener);
    const LoadResult result = loader.load();
    engine.line = result.line;
    engine.errorMessage = result.message;
    return result;
}
} // namespace

LoadResult loadScriptFrom(ConversationEngine& engine, ScriptSource& source) {
    return loadTelling(engine, source, nullptr);
}

LoadResult loadScriptFrom(ConversationEngine& engine, ScriptSource& source,
                          SyntaxListener& listener) {
    return loadTelling(engine, source, &listener);
}

int32_t ConversationEngine::load(const char* fileName) {
    FileSource source(fileName);
    return loadScriptFrom(*this, source).code;
}

int32_t ConversationEngine::loadFromMemory(const void* data, size_t size) {
    MemorySource source(data, size);
    return loadScriptFrom(*this, source).code;
}

} // namespace murmex
