// The causes of a failed load in plain words, for tools and logs. The
// player's messages stay as they are; these may say more.
#include "murmex/load_result.h"

#include "murmex/magic_line.h"
#include "murmex/script_keywords.h"

#include "text/fixed_format.h"

#include <cstring>

namespace murmex {

namespace {

// What a wording fills in, if anything: the detail's line, its number (a
// limit, or the character found, by the format), or a list from a table.
enum class Takes { Nothing, Line, Number, ActionList, OperatorList, Magic };

struct CauseWording {
    LoadCause cause;
    const char* format;
    Takes takes;
};

constexpr CauseWording WORDINGS[] = {
    {LoadCause::CannotOpen, "the script cannot be opened", Takes::Nothing},
    {LoadCause::NotAScript, "the first line is not %s", Takes::Magic},
    {LoadCause::FirstLineEndsWithLineFeed,
     "line 1 ends with a line feed alone; the first line must end with a carriage return",
     Takes::Nothing},
    {LoadCause::EndOfFile, "the file ends before the script is complete", Takes::Nothing},
    {LoadCause::TextNotClosedAtEndOfFile, "the file ends inside a text opened on line %d",
     Takes::Line},
    {LoadCause::TextNotClosedAtEndOfLine,
     "the line ends inside a text opened on line %d; a text cannot span lines", Takes::Line},
    {LoadCause::NameTooLong, "a character name longer than %d bytes", Takes::Number},
    {LoadCause::TextTooLong, "a text longer than %d bytes", Takes::Number},
    {LoadCause::ShortValueTooLong, "a variable name, operator or number longer than %d bytes",
     Takes::Number},
    {LoadCause::TitleTooLong, "a title longer than %d bytes", Takes::Number},
    {LoadCause::UnexpectedCharacter, "a %c stands before the field that was expected",
     Takes::Number},
    {LoadCause::UnknownAction, "the action is none of %s", Takes::ActionList},
    {LoadCause::UnknownOperator, "the operator is none of %s", Takes::OperatorList},
    {LoadCause::NotANumber, "the value is not a number", Takes::Nothing},
    {LoadCause::TooManyCharacters, "the script has more than %d characters", Takes::Number},
    {LoadCause::TooManyUnits, "a character has more than %d talk units", Takes::Number},
    {LoadCause::TooManyConditions, "a talk unit has more than %d conditions", Takes::Number},
    {LoadCause::OutOfMemory, "out of memory", Takes::Nothing},
    {LoadCause::PoolTooLarge, "the texts together need more than 2 GiB", Takes::Nothing},
    {LoadCause::FileChanged, "the script changed between the loader's two passes", Takes::Nothing},
    {LoadCause::ReadFailed, "reading the script failed before its end", Takes::Nothing},
    {LoadCause::AlreadyLoaded, "the engine holds a script already; load into a new engine",
     Takes::Nothing},
};

// Joins the keywords of a table with commas into out.
template <typename Table, typename KeywordOf>
void joinKeywords(const Table& table, KeywordOf keywordOf, char* out, size_t capacity) {
    size_t used = 0;
    out[0] = 0;
    for (const auto& entry : table) {
        const size_t written = formatText(out + used, capacity - used, "%s%s",
                                          {used == 0 ? "" : ", ", keywordOf(entry)});
        if (written >= capacity - used) {
            return;
        }
        used += written;
    }
}

} // namespace

const char* describeLoadDetail(const LoadDetail& detail, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return out;
    }
    out[0] = 0;
    for (const CauseWording& wording : WORDINGS) {
        if (wording.cause != detail.cause) {
            continue;
        }
        char list[LOAD_DETAIL_TEXT_SIZE];
        switch (wording.takes) {
        case Takes::Nothing:
            formatText(out, capacity, wording.format, {});
            break;
        case Takes::Line:
            formatText(out, capacity, wording.format, {detail.line});
            break;
        case Takes::Number:
            formatText(out, capacity, wording.format, {detail.number});
            break;
        case Takes::Magic:
            formatText(out, capacity, wording.format, {SCRIPT_MAGIC});
            break;
        case Takes::ActionList:
            joinKeywords(
                ACTION_KEYWORDS, [](const ActionKeyword& k) { return k.keyword; }, list,
                sizeof(list));
            formatText(out, capacity, wording.format, {list});
            break;
        case Takes::OperatorList:
            joinKeywords(
                OPERATOR_KEYWORDS, [](const OperatorKeyword& k) { return k.keyword; }, list,
                sizeof(list));
            formatText(out, capacity, wording.format, {list});
            break;
        }
        break;
    }
    return out;
}

} // namespace murmex
