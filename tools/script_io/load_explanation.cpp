// Reading the mistake off what the loader read before it stopped: the fields
// its listener reported, where each keyword and value stands, and the bytes
// it skipped on its way to the place that failed.
#include "tools/script_io/load_explanation.h"

#include "murmex/authoring/magic_line.h"
#include "murmex/load_messages.h"
#include "murmex/script_keywords.h"
#include "tools/script_io/edit_distance.h"
#include "tools/script_io/script_reading.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <optional>
#include <string_view>

namespace murmex::tool {

void ErrorSurroundingsRecorder::field(const SyntaxFieldEvent& event) {
    fields.push_back(event);
    // Past the value's closing quote.
    readUpTo = std::max(readUpTo, event.value.end + 1);
}

void ErrorSurroundingsRecorder::open(ScriptBlock block, const SyntaxSpan& at) {
    // A condition's fields stay with its unit's: a mistake in the unit shows
    // in the condition that follows it.
    if (block != ScriptBlock::Condition) {
        fields.clear();
    }
    readUpTo = std::max(readUpTo, at.end);
}

void ErrorSurroundingsRecorder::close(ScriptBlock block, const SyntaxSpan& at) {
    if (block != ScriptBlock::Condition) {
        fields.clear();
    }
    readUpTo = std::max(readUpTo, at.end);
}

void ErrorSurroundingsRecorder::error(const SyntaxError& error) {
    errors.push_back({true, error, fields, readUpTo});
}

namespace {

// Bytes of a text quoted in an explanation.
constexpr size_t QUOTED_TEXT_WIDTH = 30;

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

std::string_view spanText(const std::string& text, const SyntaxSpan& span) {
    if (span.begin > span.end || span.end > text.size()) {
        return {};
    }
    return std::string_view(text).substr(span.begin, span.end - span.begin);
}

// The line of the byte at `offset`, counted from a byte whose line is known.
int32_t lineFrom(const std::string& text, size_t known, int32_t knownLine, size_t offset) {
    const std::string_view all(text);
    known = std::min(known, all.size());
    offset = std::min(offset, all.size());
    const std::string_view between =
        all.substr(std::min(known, offset), std::max(known, offset) - std::min(known, offset));
    const auto lineFeeds = static_cast<int32_t>(std::count(between.begin(), between.end(), '\n'));
    return offset >= known ? knownLine + lineFeeds : knownLine - lineFeeds;
}

// The order the loader reads the fields of the part `sought` belongs to:
// the header's, or a talk unit's and a condition's.
std::string fieldOrder(ScriptField sought) {
    const auto keyword = [](ScriptField field) { return std::string(scriptField(field).keyword); };
    if (sought < ScriptField::Name) {
        return "the header's keywords come in the order " + keyword(ScriptField::Title) + ", " +
               keyword(ScriptField::Color) + ", " + keyword(ScriptField::TextColor);
    }
    std::string unit;
    for (const ScriptField field : {ScriptField::State, ScriptField::Next, ScriptField::Question,
                                    ScriptField::Answer, ScriptField::Action}) {
        unit += (unit.empty() ? "" : ", ") + keyword(field);
    }
    return "a talk unit's fields come in the order " + unit + ", then " +
           keyword(ScriptField::Param) + " and " + keyword(ScriptField::UnitValue) +
           " where the action takes them; a condition's in the order " +
           keyword(ScriptField::Variable) + ", " + keyword(ScriptField::Operator) + ", " +
           keyword(ScriptField::ConditionValue);
}

bool isFieldKeyword(std::string_view word) {
    // A talk unit's and a condition's fields follow the header's and the name.
    return std::any_of(std::begin(SCRIPT_FIELDS), std::end(SCRIPT_FIELDS),
                       [&](const ScriptFieldInfo& info) {
                           return info.field >= ScriptField::State && word == info.keyword;
                       });
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

// The field whose closing quote stands just before `offset`.
const SyntaxFieldEvent* fieldEndingAt(const ErrorSurroundings& at, size_t offset) {
    for (auto field = at.fields.rbegin(); field != at.fields.rend(); ++field) {
        if (field->value.end + 1 == offset) {
            return &*field;
        }
    }
    return nullptr;
}

// The value an unknown keyword or a bad number was read from: the load
// stopped just past its closing quote. A header's colour that is no number
// is not told as a field, so its value is taken back from that quote to the
// opening one: a value holds no quote.
bool valueReadBefore(const std::string& text, const ErrorSurroundings& at, size_t offset,
                     std::string& value) {
    if (const SyntaxFieldEvent* field = fieldEndingAt(at, offset)) {
        value = spanText(text, field->value);
        return true;
    }
    if (offset < 2 || offset > text.size() || text[offset - 1] != '"') {
        return false;
    }
    const size_t open = text.rfind('"', offset - 2);
    if (open == std::string::npos || open < at.readUpTo || text.find('\n', open) < offset - 1) {
        return false;
    }
    value = text.substr(open + 1, offset - 2 - open);
    return true;
}

// The length of a curly quote at `at`, in UTF-8 or Windows-1252; 0 for none.
// A lone byte of Windows-1252 counts only where it can't be part of a UTF-8
// character.
size_t curlyQuoteAt(std::string_view text, size_t at) {
    static constexpr std::string_view UTF8_CURLY[] = {"\xE2\x80\x9C", "\xE2\x80\x9D",
                                                      "\xE2\x80\x9E"};
    for (const std::string_view curly : UTF8_CURLY) {
        if (text.substr(at, curly.size()) == curly) {
            return curly.size();
        }
    }
    const auto byte = static_cast<unsigned char>(text[at]);
    const bool afterText = at == 0 || static_cast<unsigned char>(text[at - 1]) < 0x80;
    return (byte == 0x93 || byte == 0x94 || byte == 0x84) && afterText ? 1 : 0;
}

// `stopped` is the line the loader stopped on, which may be a later one.
std::string curlyNote(int32_t line, int32_t stopped) {
    const std::string where =
        line == stopped ? "" : ", before the loader stopped on line " + std::to_string(stopped);
    return "curly quotes stand where a value's straight double quote \" belongs (line " +
           std::to_string(line) + where + "): the loader looks for straight quotes only";
}

// Where a value's straight quote belongs: after an '=' or a ',' and blanks.
// The first curly quote that stands there in [from, to), or npos.
size_t curlyQuoteForAValue(const std::string& text, size_t from, size_t to) {
    to = std::min(to, text.size());
    for (size_t at = from; at < to; ++at) {
        if (text[at] == '#') {
            at = std::min(text.find('\n', at), to);
        } else if (text[at] == '=' || text[at] == ',') {
            size_t value = at + 1;
            while (value < to && (text[value] == ' ' || text[value] == '\t')) {
                ++value;
            }
            if (value < to && curlyQuoteAt(text, value) != 0) {
                return value;
            }
        }
    }
    return std::string::npos;
}

// What a script meant as a field's value but wrote without straight quotes:
// the loader skips whatever stands after the '=' up to the next straight
// quote, so the field took a later value and a later field went missing.
// Between the '=' (or the comma before a colour's second and third values)
// and the value's opening quote, a sound script holds only blanks and
// comments.
std::string misquotedField(const std::string& text, const SyntaxFieldEvent& field,
                           const SyntaxFieldEvent* previous, int32_t stopped) {
    const bool keyworded = field.keyword.end > field.keyword.begin;
    size_t from = 0;
    char separator = '=';
    if (keyworded) {
        from = field.keyword.end;
    } else if (field.component > 0 && previous != nullptr) {
        from = previous->value.end + 1;
        separator = ',';
    } else {
        return "";
    }
    const size_t to =
        std::min<size_t>(field.value.begin > 0 ? field.value.begin - 1 : 0, text.size());
    bool separated = false;
    for (size_t at = from; at < to; ++at) {
        const char c = text[at];
        if (c == '#') {
            at = std::min(text.find('\n', at), to);
        } else if (!separated) {
            separated = c == separator;
        } else if (curlyQuoteAt(text, at) != 0) {
            const SyntaxSpan& known = keyworded ? field.keyword : field.value;
            return curlyNote(lineFrom(text, known.begin, known.line, at), stopped);
        } else if (!isBlank(c)) {
            // Up to the quote the loader took for the opening one: the value
            // itself when only its opening quote is missing; where fields
            // were passed over on the way, the first word.
            const std::string_view rest = std::string_view(text).substr(at, to - at);
            size_t end = rest.size();
            if (rest.find('=') != std::string_view::npos) {
                end = 0;
                while (end < rest.size() && !isBlank(rest[end]) &&
                       std::string_view(",{}#=").find(rest[end]) == std::string_view::npos) {
                    ++end;
                }
            }
            const std::string written = trimmed(rest.substr(0, end));
            if (!keyworded) {
                return "each value of " + std::string(scriptField(field.field).keyword) +
                       " must be in straight double quotes: \"" + written + "\"";
            }
            const std::string keyword(spanText(text, field.keyword));
            return "the value of " + keyword + " must be in straight double quotes: " + keyword +
                   " = \"" + written + "\"";
        }
    }
    return "";
}

// A field of the part that failed whose value was not quoted, or curly
// quotes for a value in what the loader skipped before it failed.
std::string misquotedValue(const std::string& text, const LoadDetail& detail,
                           const ErrorSurroundings& at) {
    const SyntaxFieldEvent* previous = nullptr;
    for (const SyntaxFieldEvent& field : at.fields) {
        const std::string note = misquotedField(text, field, previous, at.error.line);
        if (!note.empty()) {
            return note;
        }
        previous = &field;
    }
    const size_t curly = curlyQuoteForAValue(text, at.readUpTo, detail.offset);
    if (curly != std::string::npos) {
        return curlyNote(lineFrom(text, detail.offset, at.error.line, curly), at.error.line);
    }
    return "";
}

// A double quote where a field's keyword was sought: read from what stands
// between the last value or brace and that quote.
// The keyword spelled in upper case, when that is one of the fields' and the
// word was not: the loader matches keywords exactly.
std::string upperCaseKeyword(const std::string& word) {
    std::string upper = word;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return upper != word && isFieldKeyword(upper) ? upper : "";
}

std::string explainStrayQuote(const std::string& text, size_t quote, const std::string& message,
                              const LoadDetail& detail, const ErrorSurroundings& at) {
    if (!at.known || at.readUpTo > quote) {
        return described(detail);
    }
    const std::string_view between(text.data() + at.readUpTo, quote - at.readUpTo);
    const SyntaxError& error = at.error;
    const ScriptFieldInfo& sought = scriptField(error.field);
    const bool keywordMissing =
        error.hasField && sought.missingMessage != nullptr && message == sought.missingMessage;
    const std::string found = wordBeforeEquals(between);
    if (!found.empty()) {
        if (keywordMissing && error.field == ScriptField::Variable &&
            found == scriptField(ScriptField::State).keyword) {
            return "this { was read as the start of a condition, because the talk unit before "
                   "it is not closed: add the } that ends that unit";
        }
        const std::string upper = upperCaseKeyword(found);
        if (keywordMissing && !upper.empty()) {
            return "the field here is " + found +
                   ", in lower case: the loader reads a field's "
                   "keyword in capitals only, so write " +
                   upper +
                   (upper == sought.keyword
                        ? ""
                        : " (where " + std::string(sought.keyword) +
                              " was expected: " + fieldOrder(error.field) + ")");
        }
        if (keywordMissing) {
            return "the field here is " + found + " where " + sought.keyword +
                   " was expected: " + fieldOrder(error.field);
        }
        return described(detail);
    }
    if (const SyntaxFieldEvent* previous = fieldEndingAt(at, at.readUpTo)) {
        const std::string runOn = fieldAtEnd(spanText(text, previous->value));
        if (!runOn.empty()) {
            return "the text opened on line " + std::to_string(previous->value.line) +
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

// The line holding the byte at `offset`, without its line end.
std::string_view lineAround(const std::string& text, size_t offset) {
    offset = std::min(offset, text.size());
    const size_t begin = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const size_t start = begin == std::string::npos || offset == 0 ? 0 : begin + 1;
    size_t end = text.find('\n', offset);
    end = end == std::string::npos ? text.size() : end;
    while (end > start && text[end - 1] == '\r') {
        --end;
    }
    return std::string_view(text).substr(start, end - start);
}

// The name a line opens a character block with ("Name" {), or null.
std::optional<std::string> blockOpenedBy(std::string_view line) {
    size_t at = 0;
    while (at < line.size() && isBlank(line[at])) {
        ++at;
    }
    if (at == line.size() || line[at] != '"') {
        return std::nullopt;
    }
    const size_t close = line.find('"', at + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(close + 1);
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && isBlank(rest.back())) {
        rest.remove_suffix(1);
    }
    if (rest != "{") {
        return std::nullopt;
    }
    return std::string(line.substr(at + 1, close - at - 1));
}

// A `{` that the loader took for a talk unit's while a character block was
// still open, on the line that opens the next block: the block before was
// not closed. Empty when the text does not show that.
std::string explainBlockLeftOpen(const std::string& text, const ErrorSurroundings& at) {
    const size_t brace = at.readUpTo - 1;
    if (at.readUpTo == 0 || brace >= text.size() || text[brace] != '{') {
        return "";
    }
    const std::optional<std::string> next = blockOpenedBy(lineAround(text, brace));
    if (!next) {
        return "";
    }
    const int32_t nextLine = lineFrom(text, at.error.detail.offset - 1, at.error.line, brace);
    // The block left open is the last one opened above that line.
    size_t end = text.rfind('\n', brace);
    for (int32_t line = nextLine - 1; end != std::string::npos && end > 0 && line >= 1; --line) {
        const size_t start = text.rfind('\n', end - 1);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        if (const std::optional<std::string> open = blockOpenedBy(lineAround(text, from))) {
            return "the character block \"" + *open + "\" opened on line " + std::to_string(line) +
                   " is not closed: add the } that ends it before \"" + *next + "\" on line " +
                   std::to_string(nextLine);
        }
        end = start;
    }
    return "";
}

// A `{` met where a character's name was expected: a talk unit written after
// its block's }. Empty when no block stands before it.
std::string explainUnitOutsideBlock(const std::string& text, const ErrorSurroundings& at) {
    const size_t brace = at.readUpTo - 1;
    if (at.readUpTo == 0 || brace >= text.size() || text[brace] != '}') {
        return "";
    }
    const int32_t closed = lineFrom(text, at.error.detail.offset - 1, at.error.line, brace);
    return "this talk unit stands outside every character block: the block before it ends "
           "with the } on line " +
           std::to_string(closed) +
           "; move the unit above that }, or open a block for it with a name in quotes and {";
}

std::string explainEndOfFile(const std::string& message, const LoadDetail& detail,
                             const ErrorSurroundings& at) {
    const bool inCondition = at.known && at.error.block == ScriptBlock::Condition;
    if (message == messages::BLOCK_CLOSE_EXPECTED) {
        return inCondition ? "the file ends inside a condition: the } that closes it is missing"
                           : "the file ends before the } that closes the last character's block";
    }
    if (message == messages::CONDITION_LIST_OPEN) {
        return "the file ends inside a talk unit: the } that closes it is missing";
    }
    return described(detail);
}

} // namespace

std::string explainLoadError(const std::string& text, const std::string& message,
                             const LoadDetail& detail, const ErrorSurroundings& at) {
    const size_t offset = detail.offset;
    switch (detail.cause) {
    case LoadCause::None:
    case LoadCause::CannotOpen:
    case LoadCause::ReadFailed:
        // The message in brackets says all there is,
        return "";
    case LoadCause::NotAScript:
        // but for the mark of UTF-8 that some editors write first, which the
        // loader reads as part of the first line.
        if (text.rfind(UTF8_BYTE_ORDER_MARK + std::string(SCRIPT_MAGIC), 0) == 0) {
            return "the file starts with a byte-order mark (the bytes EF BB BF) before " +
                   std::string(SCRIPT_MAGIC) +
                   ", which some editors write first: save it as UTF-8 without a byte-order "
                   "mark (often named \"UTF-8\" beside \"UTF-8 with BOM\")";
        }
        return "";
    case LoadCause::FirstLineEndsWithLineFeed:
        return "line 1 must end with a carriage return, and this file ends its lines with a line "
               "feed alone: save it with CR LF line ends, or convert it while scrambling with "
               "murmex scramble --crlf FILE data.chr";
    default:
        break;
    }
    if (at.known) {
        // A value written without its straight quotes misleads every later
        // field, so it comes before what the failure itself looks like.
        const std::string note = misquotedValue(text, detail, at);
        if (!note.empty()) {
            return note;
        }
    }
    std::string value;
    const bool valueRead = valueReadBefore(text, at, offset, value);
    switch (detail.cause) {
    case LoadCause::UnknownAction:
        if (valueRead) {
            return unknownKeyword(value, actionKeywords(), "an action", "the actions");
        }
        break;
    case LoadCause::UnknownOperator:
        if (valueRead) {
            return unknownKeyword(value, operatorKeywords(), "an operator", "the operators");
        }
        break;
    case LoadCause::NotANumber:
        if (valueRead) {
            return "\"" + trimmed(value) + "\" is not a whole number";
        }
        break;
    case LoadCause::EndOfFile:
        return explainEndOfFile(message, detail, at);
    default:
        break;
    }
    if (detail.cause == LoadCause::UnexpectedCharacter && detail.number == '"' && offset >= 1 &&
        offset <= text.size() && text[offset - 1] == '"') {
        return explainStrayQuote(text, offset - 1, message, detail, at);
    }
    if (detail.cause == LoadCause::UnexpectedCharacter && detail.number == '{' && at.known) {
        const std::string note =
            at.error.block == ScriptBlock::Unit        ? explainBlockLeftOpen(text, at)
            : at.error.block == ScriptBlock::Character ? explainUnitOutsideBlock(text, at)
                                                       : "";
        if (!note.empty()) {
            return note;
        }
    }
    if (detail.cause == LoadCause::TextNotClosedAtEndOfLine) {
        return described(detail) + ": add the closing \" on line " + std::to_string(detail.line);
    }
    return described(detail);
}

} // namespace murmex::tool
