// The recovering scan: the loader's own reading of a script, told to a
// listener, which after an error reads on from the next line that opens a
// talk unit or a character block, so that a tool sees every error in one run.
#include "loader/script_loader.h"

#include "murmex/magic_line.h"
#include "murmex/script_syntax.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string_view>

namespace murmex {

namespace {

// A scan restarts often in a file of noise; a small chunk keeps each restart
// cheap.
constexpr size_t SCAN_CHUNK_SIZE = 4096;

struct ScanBuffers {
    char value[TEXT_LIMIT];
    uint8_t chunk[SCAN_CHUNK_SIZE];
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Opening {
    ScanStart start = ScanStart::Script;
    size_t offset = 0;
    int32_t line = 0;
};

// What the line at `at` opens: a talk unit when its first byte after blanks
// is a '{' followed by the letter of the unit's first field, a character
// block when it is a name in quotes followed by a '{'.
bool opensPart(const char* text, size_t size, size_t at, ScanStart& start) {
    while (at < size && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    if (at >= size) {
        return false;
    }
    if (text[at] == '{') {
        do {
            ++at;
        } while (at < size && isBlank(text[at]));
        start = ScanStart::Unit;
        return at < size && text[at] == scriptField(ScriptField::State).letter;
    }
    if (text[at] != '"') {
        return false;
    }
    do {
        ++at;
    } while (at < size && text[at] != '"' && text[at] != '\n');
    if (at >= size || text[at] != '"') {
        return false;
    }
    do {
        ++at;
    } while (at < size && isBlank(text[at]));
    start = ScanStart::Character;
    return at < size && text[at] == '{';
}

// The first line after `afterLine` that opens a unit or a block, searched
// from `from`, which starts line `fromLine`; its line is 0 when none does.
Opening nextOpening(const char* text, size_t size, size_t from, int32_t fromLine,
                    int32_t afterLine) {
    Opening found;
    size_t at = from;
    int32_t line = fromLine;
    for (;;) {
        if (line > afterLine && opensPart(text, size, at, found.start)) {
            found.offset = at;
            found.line = line;
            return found;
        }
        while (at < size && text[at] != '\n') {
            ++at;
        }
        if (at >= size) {
            return found;
        }
        ++at;
        ++line;
    }
}

// The header an author meant after a first line that ends in a line feed
// alone: it follows the magic and that line feed. Its line is 0 when the
// magic is not found.
Opening headerAfterLineFeed(const char* text, size_t size) {
    const std::string_view whole(text, size);
    const std::string_view magic(SCRIPT_MAGIC);
    Opening found;
    const size_t at = whole.find(magic);
    if (at == std::string_view::npos || at + magic.size() >= size ||
        text[at + magic.size()] != '\n') {
        return found;
    }
    found.start = ScanStart::Header;
    found.offset = at + magic.size() + 1;
    found.line = 1 + static_cast<int32_t>(std::count(text, text + found.offset, '\n'));
    return found;
}

} // namespace

int32_t ScriptLoader::scan(uint32_t offset, int32_t line, ScanStart start, uint8_t* chunk,
                           size_t chunkSize, char* valueSpace, ScanStop& stop) {
    measuring = false;
    recovering = true;
    charactersRead = 0;
    state = LoadState();
    state.line = line;
    valueBuffer = valueSpace;
    where = {};
    ScriptReader reader(state, source, chunk, chunkSize, false);
    if (!reader.open()) {
        return READ_END;
    }
    reader.startCountingAt(offset);
    int32_t result = READ_END;
    if (start == ScanStart::Script) {
        result = readScript(reader);
    } else if (start == ScanStart::Header) {
        result = readHeader(reader);
        if (result == READ_OK) {
            result = readCharacters(reader);
        }
    } else {
        if (start == ScanStart::Unit) {
            // Inside a block whose name and '{' lie before the error.
            result = readBlockBody(reader, nullptr);
        }
        if (result == READ_END || result == READ_OK) {
            result = readCharacters(reader);
        }
    }
    if (result < 0) {
        state.detail.offset = reader.position();
        stop = {state.line, state.detail.cause};
        tellError(result, state.detail);
    }
    return result;
}

int32_t scanScript(const char* text, size_t size, SyntaxListener& listener) {
    std::unique_ptr<ScanBuffers> buffers(new (std::nothrow) ScanBuffers);
    // The header is read into a model that is never filled: a scan pools
    // nothing and creates no records.
    std::unique_ptr<ScriptModel> unused(new (std::nothrow) ScriptModel);
    if (buffers == nullptr || unused == nullptr) {
        return -1;
    }
    int32_t unusedPool = 0;
    ScriptBuilder nothingBuilt(*unused, unusedPool);
    int32_t errors = 0;
    Opening part;
    part.line = 1;
    for (;;) {
        MemorySource source(text + part.offset, size - part.offset);
        ScriptLoader loader(nothingBuilt, source, false);
        loader.tell(&listener);
        ScanStop stop;
        const int32_t result =
            loader.scan(static_cast<uint32_t>(part.offset), part.line, part.start, buffers->chunk,
                        SCAN_CHUNK_SIZE, buffers->value, stop);
        errors += loader.numbersTold();
        if (result >= 0) {
            return errors;
        }
        ++errors;
        if (stop.cause == LoadCause::FirstLineEndsWithLineFeed && part.start == ScanStart::Script) {
            part = headerAfterLineFeed(text, size);
        } else {
            part = nextOpening(text, size, part.offset, part.line, stop.line);
        }
        if (part.line == 0) {
            return errors;
        }
    }
}

} // namespace murmex
