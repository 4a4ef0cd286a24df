// Loading a script for a command, and the wording of a failed load.
#include "tools/analysis/script_loading.h"

#include "tools/analysis/script_bytes.h"

#include "murmex/load_script.h"
#include "murmex/magic_line.h"

#include <filesystem>
#include <sstream>

namespace murmex::tool {

namespace {

// The reader cannot tell a folder from an empty file (reading it simply ends),
// so a folder would load as a script without characters.
bool isFolder(const std::string& path) {
    std::error_code status;
    return std::filesystem::is_directory(path, status);
}

// Bytes read from the start of a script to tell which way it is meant to be
// read. Only the first line matters; comments ahead of it longer than this
// go without the hint.
constexpr size_t MAGIC_PROBE_SIZE = 64 * 1024;

bool valueTooLong(LoadCause cause) {
    return cause == LoadCause::NameTooLong || cause == LoadCause::TextTooLong ||
           cause == LoadCause::ShortValueTooLong;
}

// Words the failures for which the loader sets no message.
std::string describeSilentFailure(const std::string& path, bool plain, const LoadedScript& loaded) {
    switch (loaded.code) {
    case LOAD_CANNOT_OPEN:
        return isFolder(path) ? "[cannot open file: it is a folder]" : "[cannot open file]";
    case LOAD_BAD_MAGIC: {
        std::string description = std::string("[first line is not ") + SCRIPT_MAGIC + "]";
        // A file read the wrong way round is the usual cause; say so when the
        // other reading would find the magic.
        if (firstLineIsMagic(readFileStart(path, MAGIC_PROBE_SIZE), plain)) {
            description +=
                plain ? " (looks scrambled: drop --plain)" : " (looks plain: try --plain)";
        }
        return description;
    }
    case LOAD_SYNTAX:
        // A value missing at the end of the file and a value of exactly the
        // reader's limit less one both end without a message.
        return valueTooLong(loaded.detail.cause) ? "[value too long]" : "[unexpected end of file]";
    case LOAD_MEMORY:
        return "[out of memory]";
    case LOAD_LIMIT:
        // The one limit reached without a message: a name of 99 characters.
        return "[character name too long]";
    default:
        return "[no message]";
    }
}

} // namespace

LoadedScript loadScript(const std::string& path, bool plain, ScriptLines* lines) {
    LoadedScript loaded;
    loaded.engine = std::make_unique<ConversationEngine>();
    if (isFolder(path)) {
        loaded.code = LOAD_CANNOT_OPEN;
        loaded.detail.cause = LoadCause::CannotOpen;
        return loaded;
    }
    if (plain) {
        loaded.engine->disableDescramble();
    }
    loaded.engine->scriptLines = lines;
    FileSource source(path.c_str());
    const LoadResult result = loadScriptFrom(*loaded.engine, source);
    loaded.code = result.code;
    loaded.detail = result.detail;
    // The table belongs to the caller; the engine must not keep pointing at it.
    loaded.engine->scriptLines = nullptr;
    return loaded;
}

std::string loadErrorText(const std::string& path, bool plain, const LoadedScript& loaded) {
    const ConversationEngine& engine = *loaded.engine;
    const bool hasMessage = engine.errorMessage != nullptr && engine.errorMessage[0] != 0;
    return hasMessage ? std::string(engine.errorMessage)
                      : describeSilentFailure(path, plain, loaded);
}

std::string loadErrorLine(const std::string& path, bool plain, const LoadedScript& loaded) {
    std::ostringstream line;
    line << path << ':' << loaded.engine->line << ": error " << loaded.code << ": "
         << loadErrorText(path, plain, loaded);
    return line.str();
}

int32_t totalUnits(const ConversationEngine& engine) {
    int32_t total = 0;
    for (int32_t i = 0; i < engine.characterCount; ++i) {
        if (engine.characters[i]) {
            total += engine.characters[i]->unitCount;
        }
    }
    return total;
}

} // namespace murmex::tool
