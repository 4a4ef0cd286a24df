// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// What the loader reads, as it reads it. The loader is the one reader of the
// script format: a tool that wants to know where a field, a talk unit or an
// error stands gives it a listener instead of reading the text by its own
// rules, and the fields' table below is the one list of the format's
// keywords, the letters the loader seeks them by, their limits and the
// words of a missing one.
#pragma once

#include "murmex/engine/conversation_engine.h"
#include "murmex/load_messages.h"
#include "murmex/load_result.h"
#include "murmex/script_model.h"
#include "murmex/script_source.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

// Sizes of the buffers quoted values are read into. A value holds at most
// limit - 2 characters: the last index is kept for the terminating zero and
// a value that reaches it counts as too long.
// A character's name: names are short labels that the runtime compares.
constexpr int32_t NAME_LIMIT = MAX_CHARACTER_NAME + 2;
// The title, header colours, S, N, Q, A, ACT and PARAM: room for a paragraph of answer text.
constexpr int32_t TEXT_LIMIT = MAX_TEXT_LENGTH + 2;
// A unit's VAL and a condition's ID, OP and VAL: numbers, operators, variable names.
constexpr int32_t SHORT_LIMIT = 150;

// Every value a script holds, in the order the loader reads them.
enum class ScriptField : uint8_t {
    Title,
    Color,     // three components, one event each
    TextColor, // three components, one event each
    Name,      // a character's name: a value without a keyword
    State,
    Next,
    Question,
    Answer,
    Action,
    Param,
    UnitValue,
    Variable,
    Operator,
    ConditionValue,
};

struct ScriptFieldInfo {
    ScriptField field;
    // The keyword as scripts write it; empty for a name.
    const char* keyword;
    // The one byte the loader seeks: the rest of the keyword is skipped on
    // the way to its '=', so STATE reads as S. 0 for a name.
    char letter;
    // The value's buffer size, as above.
    int32_t limit;
    // The load's message when the keyword is not found; null for a name.
    const char* missingMessage;
    // The message when the value is no number; null for a text.
    const char* wrongNumberMessage;
};

// In ScriptField order.
inline constexpr ScriptFieldInfo SCRIPT_FIELDS[] = {
    {ScriptField::Title, "TITLE", 'T', TEXT_LIMIT, messages::TITLE_EXPECTED, nullptr},
    {ScriptField::Color, "COLOR", 'C', TEXT_LIMIT, messages::COLOR_EXPECTED,
     messages::HEADER_WRONG_NUMBER},
    // Any word that begins with T names the text colour.
    {ScriptField::TextColor, "TEXTCOLOR", 'T', TEXT_LIMIT, messages::COLOR_EXPECTED,
     messages::HEADER_WRONG_NUMBER},
    {ScriptField::Name, "", 0, NAME_LIMIT, nullptr, nullptr},
    {ScriptField::State, "S", 'S', TEXT_LIMIT, messages::S_EXPECTED, messages::UNIT_WRONG_NUMBER},
    {ScriptField::Next, "N", 'N', TEXT_LIMIT, messages::N_EXPECTED, messages::UNIT_WRONG_NUMBER},
    {ScriptField::Question, "Q", 'Q', TEXT_LIMIT, messages::Q_EXPECTED, nullptr},
    {ScriptField::Answer, "A", 'A', TEXT_LIMIT, messages::A_EXPECTED, nullptr},
    // Found by the answer's letter: a unit gives its answer before its action.
    {ScriptField::Action, "ACT", 'A', TEXT_LIMIT, messages::ACT_EXPECTED, nullptr},
    {ScriptField::Param, "PARAM", 'P', TEXT_LIMIT, messages::PARAM_EXPECTED, nullptr},
    {ScriptField::UnitValue, "VAL", 'V', SHORT_LIMIT, messages::VAL_EXPECTED,
     messages::UNIT_WRONG_NUMBER},
    {ScriptField::Variable, "ID", 'I', SHORT_LIMIT, messages::ID_EXPECTED, nullptr},
    {ScriptField::Operator, "OP", 'O', SHORT_LIMIT, messages::OP_EXPECTED, nullptr},
    {ScriptField::ConditionValue, "VAL", 'V', SHORT_LIMIT, messages::VAL_EXPECTED,
     messages::CONDITION_WRONG_NUMBER},
};

constexpr const ScriptFieldInfo& scriptField(ScriptField field) {
    return SCRIPT_FIELDS[static_cast<size_t>(field)];
}

// A header colour's component as the loader reads it: the number, read as
// every number of a script is, and the part of it the window takes, its low
// eight bits (so 256 is 0 and -1 is 255). False, leaving both alone, when
// the text holds no number.
bool readColorComponent(const char* text, int32_t& written, uint8_t& taken);

// The parts of a script that open and close.
enum class ScriptBlock : uint8_t {
    Header,    // the title and colours; opens after the first line
    Character, // from its name's '{' to its '}'
    Unit,
    Condition,
};

// The part of the script a field belongs to.
constexpr ScriptBlock fieldBlock(ScriptField field) {
    return field <= ScriptField::TextColor   ? ScriptBlock::Header
           : field == ScriptField::Name      ? ScriptBlock::Character
           : field <= ScriptField::UnitValue ? ScriptBlock::Unit
                                             : ScriptBlock::Condition;
}

// Bytes [begin, end) of the plain script (descrambled; comments still
// counted), and the 1-based line on which begin stands.
struct SyntaxSpan {
    uint32_t begin = 0;
    uint32_t end = 0;
    int32_t line = 0;
};

struct SyntaxFieldEvent {
    ScriptField field;
    // A colour's component, 0 to 2; 0 for every other field.
    uint8_t component = 0;
    // From the keyword's letter through the last letter that follows it
    // directly: "STATE" where a script spells S out. Empty for a name and
    // for the second and third components of a colour.
    SyntaxSpan keyword;
    // The bytes between the quotes.
    SyntaxSpan value;
    // A colour component's value as read, zero-terminated and valid during
    // the call: the model keeps only the part the window takes of its
    // number. Null for every other field.
    const char* text = nullptr;
};

struct SyntaxError {
    // The load's result code, message and line, as a load reports them.
    int32_t code = 0;
    const char* message = "";
    int32_t line = 0;
    // The cause, and the offset just past the byte that failed.
    LoadDetail detail;
    // Where the reading stood: the block, and the field being sought or read
    // (hasField false between fields).
    ScriptBlock block = ScriptBlock::Header;
    bool hasField = false;
    ScriptField field = ScriptField::Title;
    // A scan goes on right after this error, within the part it reads (a
    // value that is no number, a limit passed); otherwise it reads on from
    // the next line that opens a talk unit or a character block.
    bool readsOn = false;
};

// Told of each part as the loader reads it. A load tells what its second
// pass reads, which makes the records (so a load that fails on its syntax,
// which the first pass finds, tells only the error), and the error that ends
// it; the scan below tells everything. References are valid during the call.
class SyntaxListener {
  public:
    virtual ~SyntaxListener() = default;
    virtual void field(const SyntaxFieldEvent& event) { (void)event; }
    // At the brace, or for the header at its first field's letter.
    virtual void open(ScriptBlock block, const SyntaxSpan& at) {
        (void)block;
        (void)at;
    }
    virtual void close(ScriptBlock block, const SyntaxSpan& at) {
        (void)block;
        (void)at;
    }
    virtual void error(const SyntaxError& error) { (void)error; }
};

// Loads the source into the engine as loadScriptFrom does, telling the
// listener what it reads.
LoadResult loadScriptFrom(ConversationEngine& engine, ScriptSource& source,
                          SyntaxListener& listener);

// Reads a plain script text (not scrambled) by the loader's rules without
// building anything, telling the listener every field, block and error; it
// converts numbers and counts characters, units and conditions as a load
// does. A value that is no number, and the first character, unit or
// condition past its limit, are told and read past, as they are whole.
// After a first line that ends in a line feed alone it reads the header
// that follows; after any other error it reads on from the next line that
// opens a talk unit or a character block, as if the script started there.
// Returns the number of errors, or -1 when it can't get the memory for its
// buffers.
int32_t scanScript(const char* text, size_t size, SyntaxListener& listener);

} // namespace murmex
