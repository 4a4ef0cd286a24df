// The engine's loading face: ConversationEngine::load and loadFromMemory,
// and loadScriptFrom, which all run the two-pass loader into the engine's
// model and leave the line and message of the result in the engine; and the
// pool operations the engine still offers, which are the builder's.
#include "loader/script_builder.h"
#include "loader/script_loader.h"
#include "murmex/load_script.h"
#include "murmex/script_syntax.h"

#include <cstring>

namespace murmex {

namespace {
LoadResult loadTelling(ConversationEngine& engine, ScriptSource& source, SyntaxListener* listener) {
    if (engine.block != nullptr) {
        // Loaded before: the characters of that load point into the pool we
        // hold, so it must stay, and a second pool has no place to live.
        LoadResult result;
        result.code = LOAD_MEMORY;
        result.line = engine.line;
        result.message = "";
        result.detail.cause = LoadCause::AlreadyLoaded;
        engine.errorMessage = result.message;
        return result;
    }
    ScriptBuilder builder(engine, engine.used);
    const LoadResult result =
        loadModel(builder, source, engine.descramble != 0, engine.scriptLines, listener);
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

bool ConversationEngine::reservePool(int32_t size) {
    ScriptBuilder builder(*this, used);
    return builder.reservePool(size);
}

const char* ConversationEngine::addString(const char* text) {
    return addString(text, std::strlen(text));
}

const char* ConversationEngine::addString(const char* text, size_t length) {
    ScriptBuilder builder(*this, used);
    return builder.addString(text, length);
}

} // namespace murmex
