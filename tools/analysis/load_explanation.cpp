// Reading the mistake off the text around the place where the load stopped.
#include "tools/analysis/load_explanation.h"

#include "murmex/load_messages.h"
#include "murmex/script_keywords.h"
#include "tools/analysis/field_keywords.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace murmex::tool {

namespace {

// How far back from the failure a value or field is looked for: further
// than any line of a sound script runs.
constexpr size_t LOOK_BACK = 4096;
// Bytes of a text quoted in an explanation.
constexpr size_t QUOTED_TEXT_WIDTH = 30;

constexpr const char* FIELD_ORDER =
    "a talk unit's fields come in the order S, N, Q, A, ACT, then PARAM and VAL where the "
    "action takes them; a condition's in the order ID, OP, VAL";

bool isWordByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    std::string result(text.substr(first, last - first));
    if (result.size() > QUOTED_TEXT_WIDTH) {
        result = result.substr(0, QUOTED_TEXT_WIDTH) + "...";
    }
    return result;
}

std::string described(const LoadDetail& detail) {
    char text[LOAD_DETAIL_TEXT_SIZE];
    return describeLoadDetail(detail, text, sizeof text);
}

int32_t lineAt(const std::string& text, size_t offset) {
    return 1 + static_cast<int32_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// The last index before `end` holding one of `bytes`, not looking further
// back than LOOK_BACK; npos when there is none.
size_t lastOf(const std::string& text, size_t end, std::string_view bytes) {
    const size_t stop = end > LOOK_BACK ? end - LOOK_BACK : 0;
    for (size_t at = end; at > stop; --at) {
        if (bytes.find(text[at - 1]) != std::string_view::npos) {
            return at - 1;
        }
    }
    return std::string::npos;
}

// The value whose closing quote stands at `close`; false when no opening
// quote is found.
bool valueClosedAt(const std::string& text, size_t close, size_t& open) {
    open = lastOf(text, close, "\"\n");
    return open != std::string::npos && text[open] == '"';
}

// The keyword the failing message names: "Syntax error: S expected" gives S.
std::string expectedField(const std::string& message) {
    const std::string prefix = "Syntax error: ";
    const std::string suffix = " expected";
    if (message.size() <= prefix.size() + suffix.size() || message.rfind(prefix, 0) != 0 ||
        message.compare(message.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return "";
    }
    return message.substr(prefix.size(), message.size() - prefix.size() - suffix.size());
}

// The word right before the last '=' of `text`, if any.
std::string wordBeforeEquals(std::string_view text) {
    const size_t equals = text.rfind('=');
    if (equals == std::string_view::npos) {
        return "";
    }
    size_t end = equals;
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    size_t start = end;
    while (start > 0 && isWordByte(text[start - 1])) {
        --start;
    }
    return std::string(text.substr(start, end - start));
}

// A field keyword and '=' at the very end of a value: the value ran on past
// its own end into the next field.
std::string fieldAtEnd(std::string_view value) {
    size_t end = value.size();
    while (end > 0 && isBlank(value[end - 1])) {
        --end;
    }
    if (end == 0 || value[end - 1] != '=') {
        return "";
    }
    const std::string word = wordBeforeEquals(value.substr(0, end));
    return isFieldKeyword(word) ? word : "";
}

size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const bool same = std::toupper(static_cast<unsigned char>(a[i - 1])) ==
                              std::toupper(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Names a keyword as unknown, with the one nearest to it when that is near
// enough to be what was meant, and the whole list.
std::string unknownKeyword(const std::string& word, const std::vector<std::string>& keywords,
                           const char* what, const char* listName) {
    // Near enough: a slip of a byte or two in a keyword's length. Among
    // keywords as near, one that starts alike is likelier meant.
    std::string nearest;
    size_t best = 2 * (std::max<size_t>(1, word.size() / 4) + 1);
    std::string list;
    for (const std::string& keyword : keywords) {
        const bool startsAlike = !word.empty() && word[0] == keyword[0];
        const size_t score = 2 * editDistance(word, keyword) + (startsAlike ? 0 : 1);
        if (score < best) {
            best = score;
            nearest = keyword;
        }
        list += (list.empty() ? "" : ", ") + keyword;
    }
    std::string text = "\"" + word + "\" is not " + what;
    if (!nearest.empty()) {
        text += "; did you mean " + nearest + "?";
    }
    return text + " (" + listName + ": " + list + ")";
}

std::vector<std::string> actionKeywords() {
    std::vector<std::string> words;
    for (const ActionKeyword& keyword : ACTION_KEYWORDS) {
        words.emplace_back(keyword.keyword);
    }
    return words;
}

std::vector<std::string> operatorKeywords() {
    std::vector<std::string> words;
    for (const OperatorKeyword& keyword : OPERATOR_KEYWORDS) {
        words.emplace_back(keyword.keyword);
    }
    return words;
}

// The value that ends right before `offset`, as an unknown keyword or a bad
// number was read.
bool lastValue(const std::string& text, size_t offset, std::string& value) {
    size_t open = 0;
    if (offset < 2 || offset > text.size() || text[offset - 1] != '"' ||
        !valueClosedAt(text, offset - 1, open)) {
        return false;
    }
    value = text.substr(open + 1, offset - 2 - open);
    return true;
}

// Curly quotes as a value's delimiters: the loader looks for straight ones
// only, so it reads on to the next straight quote.
int32_t curlyDelimiterLine(const std::string& text, int32_t line) {
    static const std::string_view CURLY[] = {"\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\x9E",
                                             "\x93",         "\x94",         "\x84"};
    size_t lineStart = 0;
    int32_t at = 1;
    while (at < line - 1) {
        lineStart = text.find('\n', lineStart);
        if (lineStart == std::string::npos) {
            return 0;
        }
        ++lineStart;
        ++at;
    }
    for (; at <= line && lineStart < text.size(); ++at) {
        const size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
        for (size_t equals = text.find('=', lineStart); equals < lineEnd;
             equals = text.find('=', equals + 1)) {
            size_t value = equals + 1;
            while (value < lineEnd && (text[value] == ' ' || text[value] == '\t')) {
                ++value;
            }
            for (std::string_view curly : CURLY) {
                if (text.compare(value, curly.size(), curly) == 0) {
                    return at;
                }
            }
        }
        lineStart = lineEnd + 1;
    }
    return 0;
}

// A double quote where a field's keyword was sought: read from what stands
// between the last value and that quote.
std::string explainStrayQuote(const std::string& text, size_t quote, const std::string& message,
                              const LoadDetail& detail) {
    const size_t boundary = lastOf(text, quote, "\"{}");
    if (boundary == std::string::npos) {
        return described(detail);
    }
    const std::string_view between(text.data() + boundary + 1, quote - boundary - 1);
    const std::string expected = expectedField(message);
    const std::string found = wordBeforeEquals(between);
    if (!found.empty()) {
        if (expected == "ID" && found == "S") {
            return "this { was read as the start of a condition, because the talk unit before "
                   "it is not closed: add the } that ends that unit";
        }
        if (!expected.empty()) {
            return "the field here is " + found + " where " + expected +
                   " was expected: " + FIELD_ORDER;
        }
        return described(detail);
    }
    size_t open = 0;
    if (text[boundary] == '"' && valueClosedAt(text, boundary, open)) {
        const std::string_view value(text.data() + open + 1, boundary - open - 1);
        const std::string runOn = fieldAtEnd(value);
        if (!runOn.empty()) {
            return "the text opened on line " + std::to_string(lineAt(text, open)) +
                   " is not closed: it runs on into \"" + runOn +
                   " =\" and ends at that field's opening quote; add the closing \" before " +
                   runOn;
        }
        const std::string rest = trimmed(between);
        if (!rest.empty()) {
            return "a \" inside a text ends the text there, so \"" + rest +
                   "\" was left over: texts cannot hold a \"; write ' or curly quotes inside "
                   "the text instead";
        }
    }
    return described(detail);
}

std::string explainEndOfFile(const std::string& message, const LoadDetail& detail) {
    if (message == messages::BLOCK_CLOSE_EXPECTED) {
        return "the file ends before the } that closes the last character's block";
    }
    if (message == messages::CONDITION_LIST_OPEN) {
        return "the file ends inside a talk unit: the } that closes it is missing";
    }
    return described(detail);
}

} // namespace

std::string explainLoadError(const std::string& text, int32_t line, const std::string& message,
                             const LoadDetail& detail) {
    const size_t offset = detail.offset;
    std::string value;
    switch (detail.cause) {
    case LoadCause::None:
    case LoadCause::CannotOpen:
    case LoadCause::ReadFailed:
    case LoadCause::NotAScript:
        // The message in brackets says all there is.
        return "";
    case LoadCause::FirstLineEndsWithLineFeed:
        return "line 1 must end with a carriage return, and this file ends its lines with a line "
               "feed alone: save it with CR LF line ends, or convert it while scrambling with "
               "murmex scramble --crlf FILE data.chr";
    case LoadCause::UnknownAction:
        if (lastValue(text, offset, value)) {
            return unknownKeyword(value, actionKeywords(), "an action", "the actions");
        }
        break;
    case LoadCause::UnknownOperator:
        if (lastValue(text, offset, value)) {
            return unknownKeyword(value, operatorKeywords(), "an operator", "the operators");
        }
        break;
    case LoadCause::NotANumber:
        if (lastValue(text, offset, value)) {
            return "\"" + trimmed(value) + "\" is not a whole number";
        }
        break;
    case LoadCause::EndOfFile:
        return explainEndOfFile(message, detail);
    default:
        break;
    }
    if (const int32_t curly = curlyDelimiterLine(text, line); curly != 0) {
        return "curly quotes stand where a value's straight double quote \" belongs (line " +
               std::to_string(curly) + "): the loader looks for straight quotes only";
    }
    if (detail.cause == LoadCause::UnexpectedCharacter && detail.number == '"' && offset >= 1 &&
        offset <= text.size() && text[offset - 1] == '"') {
        return explainStrayQuote(text, offset - 1, message, detail);
    }
    if (detail.cause == LoadCause::TextNotClosedAtEndOfLine) {
        return described(detail) + ": add the closing \" on line " + std::to_string(detail.line);
    }
    return described(detail);
}

} // namespace murmex::tool
