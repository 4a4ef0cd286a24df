// Telling a plain script from a scrambled one by its first line.
#include "tools/script_io/script_reading.h"

#include "murmex/authoring/magic_line.h"
#include "tools/script_io/script_input.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace murmex::tool {

namespace {

// Only the first line matters; comments ahead of it longer than this are
// taken for a scrambled file's bytes.
constexpr size_t FIRST_LINE_PROBE = 64 * 1024;

bool firstLineDescrambles(const char* bytes, size_t size) {
    return readFirstLine(bytes, size, true) != FirstLine::Other;
}

bool firstLineReadsPlain(const char* bytes, size_t size) {
    if (firstLineDescrambles(bytes, size)) {
        return false;
    }
    const std::string_view start(bytes, size);
    const size_t mark =
        start.starts_with(UTF8_BYTE_ORDER_MARK) ? sizeof(UTF8_BYTE_ORDER_MARK) - 1 : 0;
    return readFirstLine(bytes + mark, size - mark, false) != FirstLine::Other;
}

} // namespace

bool bytesReadPlain(const std::string& bytes) {
    return firstLineReadsPlain(bytes.data(), std::min(bytes.size(), FIRST_LINE_PROBE));
}

bool bytesReadScrambled(const std::string& bytes) {
    return firstLineDescrambles(bytes.data(), std::min(bytes.size(), FIRST_LINE_PROBE));
}

bool readsPlain(const std::string& path, bool plain, bool scrambled) {
    if (plain || scrambled) {
        return plain;
    }
    // Opened as a load opens it, which refuses what is no regular file
    // before reading from it; the load then says why.
    ScriptInput input;
    if (!input.open(path) || !input.source().startPass()) {
        return false;
    }
    std::string probe(FIRST_LINE_PROBE, '\0');
    size_t filled = 0;
    while (filled < probe.size()) {
        const size_t got = input.source().read(reinterpret_cast<uint8_t*>(probe.data() + filled),
                                               probe.size() - filled);
        if (got == 0) {
            break;
        }
        filled += got;
    }
    input.source().endPass();
    probe.resize(filled);
    return bytesReadPlain(probe);
}

} // namespace murmex::tool
