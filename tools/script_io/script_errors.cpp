// Reading on past a script's first error. The loader's own recovering scan
// reads the script, so every further error listed is one the player would
// report once the errors before it were mended, with the line it would give.
#include "tools/script_io/script_errors.h"

#include "murmex/magic_line.h"
#include "murmex/scrambling.h"
#include "murmex/script_syntax.h"
#include "tools/script_io/load_explanation.h"

#include <algorithm>
#include <cstring>
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

// Rounds of reading the script again with its bad numbers mended; a unit
// holds few numbers, so this many find every error hidden behind them.
constexpr int SCAN_ROUNDS = 8;

// Mends, in `copy`, the value whose bad number `found` reports, keeping the
// length so that every offset and line stays: its bytes become zeros. An
// empty value takes its zero from a byte the loader skips between the
// keyword's letter and the opening quote (a blank, or a letter of the
// keyword after its first), the bytes between moving up. False when there
// is none.
bool mendNumber(std::string& copy, const ErrorSurroundings& found) {
    for (const SyntaxFieldEvent& field : found.fields) {
        const SyntaxSpan& value = field.value;
        if (value.end + 1 != found.error.detail.offset || value.end >= copy.size()) {
            continue;
        }
        if (value.end > value.begin) {
            std::fill(copy.begin() + value.begin, copy.begin() + value.end, '0');
            return true;
        }
        const size_t quote = value.begin - 1;
        const SyntaxSpan& keyword = field.keyword;
        const size_t lowest = keyword.end > keyword.begin ? keyword.begin + 1 : quote;
        for (size_t skipped = quote; skipped-- > lowest;) {
            const char c = copy[skipped];
            if (c == ' ' || c == '\t' || skipped < keyword.end) {
                std::copy(copy.begin() + skipped + 1, copy.begin() + quote + 1,
                          copy.begin() + skipped);
                copy[quote] = '0';
                return true;
            }
        }
    }
    return false;
}

// The script's errors as the loader's scan finds them. A bad number ends
// the scan's part as it ends a load, but a load reports the syntax errors
// of the whole script first: so the script is read again with each bad
// number mended, until no new one shows, and the syntax errors behind them
// come to light.
std::vector<ErrorSurroundings> scanErrors(const std::string& text) {
    std::string copy = text;
    std::vector<ErrorSurroundings> badNumbers;
    for (int round = 1;; ++round) {
        ErrorSurroundingsRecorder scanned;
        if (scanScript(copy.data(), copy.size(), scanned) < 0) {
            return badNumbers;
        }
        std::vector<ErrorSurroundings> rest;
        for (ErrorSurroundings& found : scanned.errors) {
            const bool mended = round < SCAN_ROUNDS &&
                                found.error.detail.cause == LoadCause::NotANumber &&
                                mendNumber(copy, found);
            (mended ? badNumbers : rest).push_back(std::move(found));
        }
        if (rest.size() == scanned.errors.size()) {
            badNumbers.insert(badNumbers.end(), rest.begin(), rest.end());
            return badNumbers;
        }
    }
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
    // A first line that ends in a line feed alone gets its carriage return,
    // so that the rest is read as the author meant it. The scan's offsets
    // after it then run one byte ahead of the script's.
    std::string mendedText;
    size_t mended = std::string::npos;
    if (first.detail.cause == LoadCause::FirstLineEndsWithLineFeed) {
        mended = result.text.find(std::string(SCRIPT_MAGIC) + "\n");
        if (mended != std::string::npos) {
            mended += std::strlen(SCRIPT_MAGIC);
            mendedText = result.text;
            mendedText.insert(mended, 1, '\r');
        }
    }
    const std::string& read = mended != std::string::npos ? mendedText : result.text;
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
        if (mended != std::string::npos && listed.detail.offset > mended) {
            --listed.detail.offset;
        }
        listed.further = true;
        further.push_back(std::move(listed));
    }
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
