// Reading on past a script's first error. Each further part is loaded by the
// loader itself, so every error listed is one the player would report once
// the errors before it were mended, with the line it would give.
#include "tools/analysis/script_errors.h"

#include "murmex/magic_line.h"
#include "murmex/scrambling.h"
#include "tools/analysis/load_explanation.h"
#include "tools/analysis/script_outline.h"

#include <algorithm>
#include <set>

namespace murmex::tool {

namespace {

// Stands in for the header of a part that starts after it, and for the
// opening of the block a talk unit belongs to.
constexpr const char* STAND_IN_HEADER =
    "TITLE = \"\" COLOR = \"0\", \"0\", \"0\" TEXTCOLOR = \"0\", \"0\", \"0\" ";
constexpr const char* STAND_IN_BLOCK = "\"?\" { ";
// Closes the block a part cut before a talk unit is left in.
constexpr const char* STAND_IN_CLOSE = "}";

// Lines first to end - 1 of the script. The first part keeps the script's own
// start; a later one gets a stand-in header on its first line, so that its
// lines keep their numbers.
struct Part {
    int32_t first = 1;
    int32_t end = 1;
};

bool causeOfThisScript(LoadCause cause) {
    switch (cause) {
    case LoadCause::CannotOpen:
    case LoadCause::NotAScript:
    case LoadCause::OutOfMemory:
    case LoadCause::PoolTooLarge:
    case LoadCause::FileChanged:
    case LoadCause::AlreadyLoaded:
    case LoadCause::ReadFailed:
        return false;
    default:
        return true;
    }
}

class ErrorSearch {
  public:
    ErrorSearch(const std::string& scriptText, bool mendFirstLine)
        : text(scriptText), outline(scriptText), mendMagic(mendFirstLine) {}

    // Lists the errors after the one at `line` in `part`, into `found`.
    void readOnFrom(const Part& part, int32_t line) { split(part, line); }
    void readWhole() { parts.push_back({1, outline.lineCount() + 1}); }

    void run(std::set<int32_t>& lines, std::vector<ScriptError>& found, bool& cut) {
        while (!parts.empty()) {
            if (found.size() >= FURTHER_ERRORS_LIMIT) {
                cut = true;
                return;
            }
            const Part part = parts.back();
            parts.pop_back();
            ScriptError error;
            if (!loadPart(part, error)) {
                continue;
            }
            if (lines.insert(error.line).second) {
                found.push_back(error);
            }
            split(part, error.line);
        }
    }

  private:
    // The part before the construct holding the error may still hold values
    // the loader checks only once all has read well; the part after it starts
    // afresh where the next block or unit opens.
    void split(const Part& part, int32_t line) {
        const int32_t opening = outline.openingOf(line, part.first);
        const int32_t next = outline.nextOpening(line, part.end);
        if (next != 0) {
            parts.push_back({next, part.end});
        }
        if (opening > part.first) {
            parts.push_back({part.first, opening});
        }
    }

    // The part's bytes as a script of their own. The script's text from
    // offset `from` on follows `prelude` bytes of stand-ins.
    std::string partText(const Part& part, size_t& prelude, size_t& from) const {
        std::string bytes;
        from = 0;
        if (part.first > 1) {
            bytes = std::string(SCRIPT_MAGIC) + "\r\n";
            bytes.append(static_cast<size_t>(part.first - 2), '\n');
            bytes += STAND_IN_HEADER;
            if (outline.kind(part.first) == LineStart::TalkUnit) {
                bytes += STAND_IN_BLOCK;
            }
            from = outline.lineOffset(part.first);
        } else if (mendMagic) {
            bytes = std::string(SCRIPT_MAGIC) + "\r\n";
            from = outline.lineOffset(2);
        }
        prelude = bytes.size();
        const size_t to = outline.lineOffset(part.end);
        bytes.append(text, from, to > from ? to - from : 0);
        if (outline.kind(part.end) == LineStart::TalkUnit) {
            bytes += STAND_IN_CLOSE;
        }
        return bytes;
    }

    // True with the part's error in `error` when it has one of its own.
    bool loadPart(const Part& part, ScriptError& error) const {
        size_t prelude = 0;
        size_t from = 0;
        const std::string bytes = partText(part, prelude, from);
        const LoadedScript loaded = loadScriptText(bytes, true);
        const int32_t line = loaded.engine->line;
        if (loaded.ok() || !causeOfThisScript(loaded.detail.cause) || line < part.first ||
            line >= part.end) {
            return false;
        }
        error.code = loaded.code;
        error.line = line;
        error.message = loaded.engine->errorMessage;
        error.detail = loaded.detail;
        error.explanation = explainLoadError(bytes, error.line, error.message, error.detail);
        error.further = true;
        // Where the part's load stopped, as an offset in the script itself.
        const size_t stopped = loaded.detail.offset;
        error.detail.offset =
            static_cast<uint32_t>(stopped < prelude ? from : stopped - prelude + from);
        return true;
    }

    const std::string& text;
    ScriptOutline outline;
    bool mendMagic;
    std::vector<Part> parts;
};

// The script's bytes as the loader read them; empty when they can't be had
// whole.
std::string scriptText(bool plain, const LoadedScript& loaded) {
    if (!loaded.input) {
        return "";
    }
    std::string bytes = readStart(loaded.input->source(), STANDARD_INPUT_LIMIT + 1);
    if (bytes.size() > STANDARD_INPUT_LIMIT) {
        return "";
    }
    if (!plain) {
        scrambleBytes(bytes.data(), bytes.size());
    }
    return bytes;
}

bool worthReadingOn(const ScriptError& first) {
    if (first.detail.cause == LoadCause::FirstLineEndsWithLineFeed) {
        return true;
    }
    return first.code != LOAD_BAD_MAGIC && first.code != LOAD_CANNOT_OPEN &&
           causeOfThisScript(first.detail.cause);
}

} // namespace

ScriptErrors findScriptErrorsIn(std::string text, ScriptError first) {
    ScriptErrors result;
    result.text = std::move(text);
    first.explanation = explainLoadError(result.text, first.line, first.message, first.detail);
    result.errors.push_back(first);
    if (result.text.empty() || !worthReadingOn(first)) {
        return result;
    }
    const bool lineFeedMagic = first.detail.cause == LoadCause::FirstLineEndsWithLineFeed;
    ErrorSearch search(result.text, lineFeedMagic);
    if (lineFeedMagic) {
        search.readWhole();
    } else {
        search.readOnFrom({1, ScriptOutline(result.text).lineCount() + 1}, first.line);
    }
    std::set<int32_t> lines{first.line};
    std::vector<ScriptError> further;
    search.run(lines, further, result.cut);
    std::stable_sort(further.begin(), further.end(),
                     [](const ScriptError& a, const ScriptError& b) { return a.line < b.line; });
    result.errors.insert(result.errors.end(), further.begin(), further.end());
    return result;
}

ScriptErrors findScriptErrors(bool plain, const LoadedScript& loaded) {
    ScriptError first;
    first.code = loaded.code;
    first.line = loaded.engine ? loaded.engine->line : 0;
    first.message = loadErrorText(plain, loaded);
    first.detail = loaded.detail;
    std::string text = loaded.code != LOAD_CANNOT_OPEN ? scriptText(plain, loaded) : "";
    return findScriptErrorsIn(std::move(text), first);
}

} // namespace murmex::tool
