// Loading a script for a command, and the wording of a failed load.
#include "tools/script_io/script_loading.h"

#include "murmex/authoring/scrambling_source.h"
#include "murmex/load_script.h"
#include "murmex/magic_line.h"
#include "tools/script_io/kept_source.h"

#include <algorithm>
#include <sstream>

namespace murmex::tool {

namespace {

bool valueTooLong(LoadCause cause) {
    return cause == LoadCause::NameTooLong || cause == LoadCause::TextTooLong ||
           cause == LoadCause::ShortValueTooLong;
}

// Words the failures for which the loader sets no message.
std::string describeSilentFailure(bool plain, const LoadedScript& loaded) {
    switch (loaded.code) {
    case LOAD_CANNOT_OPEN: {
        const std::string problem = loaded.input ? loaded.input->problem() : "";
        const bool reading = loaded.detail.cause == LoadCause::ReadFailed;
        return std::string(reading ? "[cannot read file" : "[cannot open file") +
               (problem.empty() ? "" : ": " + problem) + "]";
    }
    case LOAD_BAD_MAGIC: {
        std::string description = std::string("[first line is not ") + SCRIPT_MAGIC + "]";
        // A file read the wrong way round is the usual cause; say so when the
        // other reading would find the magic.
        if (firstLineReadsTheOtherWay(plain, loaded)) {
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

bool firstLineReadsTheOtherWay(bool plain, const LoadedScript& loaded) {
    // Only the first line matters; comments ahead of it longer than this go
    // without the hint.
    constexpr size_t MAGIC_PROBE_SIZE = 64 * 1024;
    const std::string& bytes = loaded.bytes;
    if (bytes.empty()) {
        return false;
    }
    const size_t probed = std::min(bytes.size(), MAGIC_PROBE_SIZE);
    return readFirstLine(bytes.data(), probed, plain) != FirstLine::Other;
}

const std::string& scriptText(const LoadedScript& loaded) {
    if (loaded.plain) {
        return loaded.bytes;
    }
    if (!loaded.readText) {
        loaded.readText = std::make_shared<const std::string>(scrambleText(loaded.bytes));
    }
    return *loaded.readText;
}

namespace {

void loadInto(LoadedScript& loaded, ScriptSource& source, bool plain, ScriptPlaces* places) {
    loaded.plain = plain;
    if (plain) {
        loaded.engine->disableDescramble();
    }
    KeptSource kept(source, STANDARD_INPUT_LIMIT);
    const LoadResult result = places != nullptr ? loadScriptFrom(*loaded.engine, kept, *places)
                                                : loadScriptFrom(*loaded.engine, kept);
    loaded.code = result.code;
    loaded.line = result.line;
    loaded.message = result.message != nullptr ? result.message : "";
    loaded.detail = result.detail;
    loaded.bytes = kept.take();
}

} // namespace

LoadedScript loadScript(const std::string& path, bool plain, ScriptPlaces* places) {
    LoadedScript loaded;
    loaded.engine = std::make_unique<ConversationEngine>();
    loaded.input = std::make_unique<ScriptInput>();
    loaded.plain = plain;
    if (!loaded.input->open(path)) {
        loaded.code = LOAD_CANNOT_OPEN;
        loaded.line = loaded.engine->line;
        loaded.detail.cause = LoadCause::CannotOpen;
        return loaded;
    }
    loadInto(loaded, loaded.input->source(), plain, places);
    return loaded;
}

LoadedScript loadScriptText(const std::string& bytes, bool plain, ScriptPlaces* places) {
    LoadedScript loaded;
    loaded.engine = std::make_unique<ConversationEngine>();
    MemorySource source(bytes.data(), bytes.size());
    loadInto(loaded, source, plain, places);
    return loaded;
}

std::string loadErrorText(bool plain, const LoadedScript& loaded) {
    return loaded.message[0] != 0 ? std::string(loaded.message)
                                  : describeSilentFailure(plain, loaded);
}

std::string loadErrorLine(const std::string& path, bool plain, const LoadedScript& loaded) {
    std::ostringstream line;
    line << path << ':' << loaded.line << ": error " << loaded.code << ": "
         << loadErrorText(plain, loaded);
    return line.str();
}

std::string scrambleText(const std::string& bytes) {
    MemorySource plain(bytes.data(), bytes.size());
    ScramblingSource scrambled(plain);
    std::string turned(bytes.size(), '\0');
    scrambled.startPass();
    turned.resize(scrambled.read(reinterpret_cast<uint8_t*>(turned.data()), turned.size()));
    scrambled.endPass();
    return turned;
}

int32_t totalUnits(const ScriptModel& engine) {
    int32_t total = 0;
    for (int32_t i = 0; i < engine.characterCount; ++i) {
        if (engine.characters[i]) {
            total += engine.characters[i]->unitCount;
        }
    }
    return total;
}

} // namespace murmex::tool
