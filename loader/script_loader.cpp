// Loading a script: the load as a whole, one pass over the source, and the
// texts that go into the pool.
#include "loader/script_loader.h"

#include "loader/magic_line.h"
#include "loader/pool_size.h"
#include "loader/script_line_notes.h"
#include "murmex/load_messages.h"
#include "murmex/script_syntax.h"

#include <memory>
#include <new>

namespace murmex {

namespace {

// What a load needs beyond a few small locals, allocated once per load.
// The chunk comes last, so that a read past its end leaves the allocation
// and the sanitizer build sees it.
struct LoadBuffers {
    char value[TEXT_LIMIT];
    uint8_t chunk[READ_CHUNK_SIZE];
};
} // namespace

LoadResult ScriptLoader::load() {
    state = LoadState();
    LoadResult result;
    result.code = LOAD_OK;
    // Counted afresh, even after a load that failed while measuring.
    target.used = 0;
    poolTooLarge = false;
    // The read chunk and the value buffer live on the heap, so a load stays
    // light on the stack of a game's worker thread.
    std::unique_ptr<LoadBuffers> buffers(new (std::nothrow) LoadBuffers);
    uint8_t* chunk = buffers != nullptr ? buffers->chunk : nullptr;
    valueBuffer = buffers != nullptr ? buffers->value : nullptr;
    int32_t code = LOAD_OK;
    if (buffers == nullptr) {
        code = fail(LOAD_MEMORY, messages::OUT_OF_MEMORY, LoadCause::OutOfMemory);
    } else {
        code = runPass(true, chunk);
    }
    if (code >= 0 && poolTooLarge) {
        code = LOAD_MEMORY;
        state.noteCause(LoadCause::PoolTooLarge);
    }
    if (code >= 0 && !target.reservePool(target.used)) {
        // The pool's failure has no text of its own.
        code = LOAD_MEMORY;
        state.noteCause(LoadCause::OutOfMemory);
    }
    if (code >= 0) {
        code = runPass(false, chunk);
        target.zeroUnfilled();
    }
    result.code = code;
    result.line = state.line;
    result.message = state.message;
    result.detail = code < 0 ? state.detail : LoadDetail{};
    if (code < 0) {
        tellError(code, result.detail);
    }
    return result;
}

void ScriptLoader::tellOpen(ScriptBlock opened, uint32_t at, int32_t line) {
    if (telling()) {
        listener->open(opened, {at, at + 1, line});
    }
}

void ScriptLoader::tellClose(ScriptBlock closed, uint32_t at, int32_t line) {
    if (telling()) {
        listener->close(closed, {at, at + 1, line});
    }
}

void ScriptLoader::tellError(int32_t code, const LoadDetail& detail, bool readsOn) {
    if (listener == nullptr) {
        return;
    }
    SyntaxError error;
    error.code = code;
    error.message = state.message;
    error.line = state.line;
    error.detail = detail;
    error.block = where.block;
    error.hasField = where.inField;
    error.field = where.field;
    error.readsOn = readsOn;
    listener->error(error);
}

int32_t ScriptLoader::fail(int32_t code, const char* message, LoadCause cause, int32_t number) {
    state.message = message;
    state.noteCause(cause, 0, number);
    return code;
}

int32_t ScriptLoader::runPass(bool measures, uint8_t* chunk) {
    measuring = measures;
    charactersRead = 0;
    state.startPass();
    ScriptReader reader(state, source, chunk, READ_CHUNK_SIZE, descramble);
    if (!reader.open()) {
        state.noteCause(LoadCause::CannotOpen);
        return LOAD_CANNOT_OPEN;
    }
    if (!measuring) {
        reader.limitFetching(measured.count());
    }
    int32_t result = readScript(reader);
    if (result < 0) {
        state.detail.offset = reader.position();
    }
    if (!measuring && !reader.readFailed()) {
        result = checkSameBytes(reader, result);
    }
    if (reader.readFailed()) {
        // What was read may be any part of the script: nothing of it counts.
        return failWith(LOAD_CANNOT_OPEN, "", LoadCause::ReadFailed);
    }
    if (measuring) {
        measured = reader.fetched();
    }
    return result;
}

int32_t ScriptLoader::checkSameBytes(ScriptReader& reader, int32_t result) {
    // A measuring pass that succeeded read its source to the end, so the
    // filling pass must find the same bytes and nothing after them. One that
    // stopped early (a limit only the filling pass checks) is compared on
    // the whole all the same, since a change may be what stopped it.
    reader.fetchRest();
    const bool longer = reader.sourceGoesOn();
    if (reader.readFailed()) {
        return result;
    }
    if (longer || !(reader.fetched() == measured)) {
        return failWith(LOAD_MEMORY, messages::FILE_CHANGED, LoadCause::FileChanged);
    }
    return result;
}

int32_t ScriptLoader::failWith(int32_t code, const char* message, LoadCause cause) {
    // Replaces whatever the pass noted: its failure came from bytes that
    // can't be trusted.
    state.message = message;
    state.detail = {cause, 0, 0};
    return code;
}

int32_t ScriptLoader::readScript(ScriptReader& reader) {
    int32_t result = readMagicLine(reader);
    if (result != READ_OK) {
        return result;
    }
    result = readHeader(reader);
    if (result != READ_OK) {
        return result;
    }
    return readCharacters(reader);
}

int32_t ScriptLoader::readCharacters(ScriptReader& reader) {
    char name[NAME_LIMIT];
    for (;;) {
        // The end of the source where a further name could begin is the
        // normal end of the script (READ_END, which is LOAD_OK).
        int32_t result = reader.readQuotedText(name, NAME_LIMIT);
        if (result != READ_OK) {
            return result == READ_END ? result : failedIn(ScriptField::Name, result);
        }
        if (telling()) {
            const uint32_t closingQuote = reader.position() - 1;
            const SyntaxSpan value{closingQuote - static_cast<uint32_t>(reader.quotedRawLength()),
                                   closingQuote, reader.line()};
            listener->field({ScriptField::Name, 0, {}, value});
        }
        // Pooled ahead of the block, so each name precedes its block's texts.
        const char* pooledName = nullptr;
        result = poolText(reader.quotedText(), reader.quotedLength(), pooledName);
        if (result != READ_OK) {
            return result;
        }
        result = readCharacterBlock(reader);
        if (result != READ_OK) {
            return result;
        }
        if (builds()) {
            // Named only now: a character whose block failed stays nameless.
            target.model.characters[target.model.characterCount - 1]->name = pooledName;
        }
    }
}

int32_t ScriptLoader::poolText(const char* text, int32_t length, const char*& pooled) {
    pooled = nullptr;
    if (measuring) {
        // The pass goes on after an oversized count, so that a syntax error
        // further on is still the one reported.
        if (!addToPoolSize(target.used, static_cast<size_t>(length) + 1)) {
            poolTooLarge = true;
        }
        return READ_OK;
    }
    if (!builds()) {
        // A scan pools nothing.
        return READ_OK;
    }
    pooled = target.addString(text, static_cast<size_t>(length));
    if (pooled == nullptr) {
        // More text than the measuring pass counted: the source has changed
        // since. Nothing is written past the pool.
        return fail(LOAD_MEMORY, messages::FILE_CHANGED, LoadCause::FileChanged);
    }
    return READ_OK;
}

LoadResult loadModel(ScriptBuilder& target, ScriptSource& source, bool descramble,
                     ScriptLines* lines, SyntaxListener* listener) {
    ScriptLoader loader(target, source, descramble);
    // The table of lines is filled from what the loader tells.
    ScriptLineNotes notes(lines, listener);
    loader.tell(lines != nullptr ? &notes : listener);
    return loader.load();
}

} // namespace murmex
