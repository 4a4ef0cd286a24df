// Reading on past a script's first error. The loader's own recovering scan
// reads the script, so every further error listed is one the player would
// report once the errors before it were mended, with the line it would give.
#include "tools/script_io/script_errors.h"

#include "murmex/script_syntax.h"
#include "tools/script_io/load_explanation.h"

#include <algorithm>
#include <set>

namespace murmex::tool {

namespace {

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

bool worthReadingOn(const ScriptError& first) {
    if (first.detail.cause == LoadCause::FirstLineEndsWithLineFeed) {
        return true;
    }
    return first.code != LOAD_BAD_MAGIC && first.code != LOAD_CANNOT_OPEN &&
           causeOfThisScript(first.detail.cause);
}

// The script's errors as the loader's scan finds them, in the order it reads
// them; a bad number does not stop it, so the syntax errors behind one show.
std::vector<ErrorSurroundings> scanErrors(const std::string& text) {
    ErrorSurroundingsRecorder scanned;
    if (scanScript(text.data(), text.size(), scanned) < 0) {
        return {};
    }
    return std::move(scanned.errors);
}

} // namespace

ScriptErrors findScriptErrorsIn(std::string text, ScriptError first) {
    ScriptErrors result;
    result.text = std::move(text);
    if (result.text.empty() || !worthReadingOn(first)) {
        first.explanation = explainLoadError(result.text, first.message, first.detail, {});
        result.errors.push_back(first);
        return result;
    }
    // A first line that ends in a line feed alone is read past by the scan,
    // which goes on with the header the author meant after it.
    const std::string& read = result.text;
    std::vector<ErrorSurroundings> scanned = scanErrors(read);
    // A line's syntax error before its bad number: a load reports it first.
    std::stable_sort(
        scanned.begin(), scanned.end(), [](const ErrorSurroundings& a, const ErrorSurroundings& b) {
            const bool aNumber = a.error.detail.cause == LoadCause::NotANumber;
            const bool bNumber = b.error.detail.cause == LoadCause::NotANumber;
            return a.error.line != b.error.line ? a.error.line < b.error.line : !aNumber && bNumber;
        });

    // The load's own error, explained with what the scan saw at the same place.
    const ErrorSurroundings* same = nullptr;
    for (const ErrorSurroundings& error : scanned) {
        if (error.error.line == first.line && error.error.code == first.code &&
            error.error.detail.cause == first.detail.cause) {
            same = &error;
            break;
        }
    }
    first.explanation = explainLoadError(read, first.message, first.detail,
                                         same != nullptr ? *same : ErrorSurroundings{});
    result.errors.push_back(first);

    // One error a line: the rest of a line that failed once says nothing new.
    std::set<int32_t> lines{first.line};
    std::vector<ScriptError> further;
    for (const ErrorSurroundings& found : scanned) {
        const SyntaxError& error = found.error;
        if (!causeOfThisScript(error.detail.cause) || !lines.insert(error.line).second) {
            continue;
        }
        if (further.size() >= FURTHER_ERRORS_LIMIT) {
            result.cut = true;
            break;
        }
        ScriptError listed;
        listed.code = error.code;
        listed.line = error.line;
        listed.message = error.message;
        listed.detail = error.detail;
        listed.explanation = explainLoadError(read, listed.message, listed.detail, found);
        listed.further = true;
        further.push_back(std::move(listed));
    }
    result.errors.insert(result.errors.end(), further.begin(), further.end());
    return result;
}

int32_t faultLine(const ScriptError& error) {
    return error.detail.cause == LoadCause::FirstLineEndsWithLineFeed ? 1 : error.line;
}

const ScriptErrors& findScriptErrors(bool plain, const LoadedScript& loaded) {
    if (!loaded.errors) {
        ScriptError first;
        first.code = loaded.code;
        first.line = loaded.line;
        first.message = loadErrorText(plain, loaded);
        first.detail = loaded.detail;
        // Read afresh from the kept bytes rather than through scriptText, so
        // that the script's text is held once, in the list.
        std::string text;
        if (loaded.code != LOAD_CANNOT_OPEN) {
            text = loaded.plain ? loaded.bytes : scrambleText(loaded.bytes);
        }
        loaded.errors =
            std::make_shared<const ScriptErrors>(findScriptErrorsIn(std::move(text), first));
    }
    return *loaded.errors;
}

} // namespace murmex::tool
