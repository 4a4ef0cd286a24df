// Loading a script file: two passes over the file, one code path. The
// measuring pass checks everything it can and counts the bytes of the texts;
// the pool block is then allocated with exactly that size; the filling pass
// reads the file again, creates the records and copies the texts.
#include "murmex/conversation_engine.h"

#include "murmex/load_messages.h"
#include "loader/pool_size.h"
#include "murmex/script_lines.h"
#include "loader/script_reader.h"
#include "loader/value_limits.h"

#include <cstring>
#include <new>

namespace murmex {

namespace {
// The first line of every script; anything else is not a script of ours.
constexpr char MAGIC[] = "MurmexSrcFile";
// Characters of the first line compared with the magic; a longer line can't
// match and need not be read any further.
constexpr int32_t MAGIC_LINE_LIMIT = 20;
static_assert(sizeof(MAGIC) < MAGIC_LINE_LIMIT);
} // namespace

int32_t ConversationEngine::load(const char* fileName) {
    errorMessage = "";
    if (block != nullptr) {
        // Loaded before: the characters of that load point into the block we
        // hold, so it must stay, and a second pool has no place to live.
        return LOAD_MEMORY;
    }
    // Counted afresh, even after a load that failed while measuring.
    used = 0;
    poolTooLarge = false;
    const int32_t measured = loadPass(fileName, 1);
    if (measured < 0) {
        return measured;
    }
    if (poolTooLarge) {
        return LOAD_MEMORY;
    }
    block.reset(new (std::nothrow) char[static_cast<size_t>(used)]);
    if (block == nullptr) {
        return LOAD_MEMORY;
    }
    poolSize = static_cast<uint32_t>(used);
    used = 0;
    return loadPass(fileName, 0);
}

int32_t ConversationEngine::loadPass(const char* fileName, int32_t measuring) {
    line = 1;
    ScriptReader reader(*this);
    if (!reader.open(fileName)) {
        return LOAD_CANNOT_OPEN;
    }
    int32_t result = readMagicLine(reader);
    if (result != READ_OK) {
        return result;
    }
    result = readHeader(reader);
    if (result != READ_OK) {
        return result;
    }
    char name[NAME_LIMIT];
    for (;;) {
        // The end of the file where a further name could begin is the normal
        // end of the script (READ_END, which is LOAD_OK).
        result = reader.readQuotedText(name, NAME_LIMIT);
        if (result != READ_OK) {
            return result;
        }
        const int32_t nameLine = line;
        // Pooled ahead of the block, so each name precedes its block's texts.
        const char* pooledName = nullptr;
        result = poolText(reader.quotedText(), reader.quotedLength(), measuring, pooledName);
        if (result != READ_OK) {
            return result;
        }
        result = readCharacterBlock(reader, measuring);
        if (result != READ_OK) {
            return result;
        }
        if (measuring == 0) {
            // Named only now: a character whose block failed stays nameless.
            characters[characterCount - 1]->name = pooledName;
            if (scriptLines != nullptr) {
                scriptLines->characterLines[characterCount - 1] = nameLine;
            }
        }
    }
}

int32_t ConversationEngine::readMagicLine(ScriptReader& reader) {
    // Only a carriage return ends the first line; comments are removed as
    // anywhere else.
    char text[MAGIC_LINE_LIMIT];
    int32_t count = 0;
    char c = 0;
    do {
        if (reader.readChar(c, 0) != READ_OK) {
            // A file that ends in its first line holds no script: nothing to
            // load, which is not an error.
            return READ_END;
        }
        text[count++] = c;
    } while (c != '\r' && count < MAGIC_LINE_LIMIT);
    text[count - 1] = 0;
    return std::strcmp(text, MAGIC) == 0 ? READ_OK : LOAD_BAD_MAGIC;
}

int32_t ConversationEngine::poolText(const char* text, int32_t length, int32_t measuring,
                                     const char*& pooled) {
    pooled = nullptr;
    if (measuring != 0) {
        // The pass goes on after an oversized count, so that a syntax error
        // further on is still the one reported.
        if (!addToPoolSize(used, static_cast<size_t>(length) + 1)) {
            poolTooLarge = true;
        }
        return READ_OK;
    }
    pooled = addString(text, static_cast<size_t>(length));
    if (pooled == nullptr) {
        // More text than the measuring pass counted: the file has changed
        // since. Nothing is written past the block.
        errorMessage = messages::FILE_CHANGED;
        return LOAD_MEMORY;
    }
    return READ_OK;
}

} // namespace murmex
