// Loading a Script: the loader into a model of the script's own, then the
// texts a game reads on every screen decoded once, and the digest that binds
// saved games to the script.
#include "murmex/script.h"

#include "loader/script_builder.h"
#include "loader/script_loader.h"
#include "murmex/game_state.h"
#include "murmex/script_text.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

namespace murmex {

namespace {

LoadResult outOfMemory() {
    LoadResult result;
    result.code = LOAD_MEMORY;
    result.detail.cause = LoadCause::OutOfMemory;
    return result;
}

LoadResult cannotOpen() {
    LoadResult result;
    result.code = LOAD_CANNOT_OPEN;
    result.detail.cause = LoadCause::CannotOpen;
    return result;
}

// Opening a FIFO without a writer waits for ever, and a FIFO, a socket or a
// device has no fixed bytes for the second pass to read again, so a host's
// load refuses such a name before opening it. A name that can't be examined
// is left to the file source, which fails in its own way.
bool mayOpen(const char* path) {
    using std::filesystem::file_type;
    std::error_code ignored;
    switch (std::filesystem::status(path, ignored).type()) {
    case file_type::directory:
    case file_type::fifo:
    case file_type::socket:
    case file_type::block:
    case file_type::character:
        return false;
    default:
        return true;
    }
}

} // namespace

std::shared_ptr<const Script> Script::fromSource(ScriptSource& source, LoadResult& result,
                                                 bool plain) {
    Script* script = new (std::nothrow) Script();
    if (script == nullptr) {
        result = outOfMemory();
        return nullptr;
    }
    // The pool's running count is needed only while the load fills it.
    int32_t pooled = 0;
    ScriptBuilder builder(script->contents, pooled);
    result = loadModel(builder, source, !plain, nullptr, nullptr);
    return loaded(script, result);
}

std::shared_ptr<const Script> Script::load(const char* path, LoadResult& result, bool plain) {
    if (path == nullptr || !mayOpen(path)) {
        result = cannotOpen();
        return nullptr;
    }
    FileSource source(path);
    return fromSource(source, result, plain);
}

std::shared_ptr<const Script> Script::fromMemory(const void* data, size_t size, LoadResult& result,
                                                 bool plain) {
    MemorySource source(data, size);
    return fromSource(source, result, plain);
}

std::shared_ptr<const Script> Script::loaded(Script* script, LoadResult& result) {
    std::unique_ptr<Script> owned(script);
    if (!result.ok()) {
        return nullptr;
    }
    const ScriptModel& model = owned->contents;
    const size_t count = static_cast<size_t>(model.characterCount);
    owned->decodedNames.reset(new (std::nothrow) char[count * NAME_TEXT_SIZE + 1]);
    if (owned->decodedNames == nullptr) {
        result = outOfMemory();
        return nullptr;
    }
    for (size_t c = 0; c < count; ++c) {
        const char* name = model.characters[c]->name;
        decodeScriptText(name, std::strlen(name), &owned->decodedNames[c * NAME_TEXT_SIZE],
                         NAME_TEXT_SIZE);
        owned->idSuffixes[c] = characterIdSuffix(model, static_cast<int32_t>(c));
    }
    decodeScriptText(model.title, std::strlen(model.title), owned->decodedTitle,
                     sizeof owned->decodedTitle);
    owned->scriptDigest = murmex::scriptDigest(model);
    return std::shared_ptr<const Script>(owned.release());
}

} // namespace murmex
