// The script header: the title and the two colours, read in both passes.
#include "loader/script_loader.h"

#include "loader/number_text.h"
#include "loader/script_fields.h"
#include "loader/value_limits.h"
#include "murmex/load_messages.h"
#include "murmex/script_lines.h"

#include <cstring>

namespace murmex {

namespace {

// A colour component: a quoted number of which the low eight bits are kept,
// so 256 is 0 and -1 is 255.
int32_t readComponent(ScriptReader& reader, char* text, uint8_t& component) {
    const int32_t result = readValue(reader, text, TEXT_LIMIT);
    if (result != READ_OK) {
        return result;
    }
    int32_t value = 0;
    if (!parseInteger(text, value)) {
        return reader.syntaxError(messages::HEADER_WRONG_NUMBER, LoadCause::NotANumber);
    }
    component = static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
    return READ_OK;
}

// The keyword (first letter only), '=' and three components separated by
// commas. Each component is stored as soon as it is read.
int32_t readColor(ScriptReader& reader, char* text, char letter, Rgb& color) {
    int32_t result = expectChar(reader, letter, messages::COLOR_EXPECTED);
    if (result == READ_OK) {
        result = expectChar(reader, '=', messages::EQUALS_EXPECTED);
    }
    if (result == READ_OK) {
        result = readComponent(reader, text, color.red);
    }
    if (result == READ_OK) {
        result = expectChar(reader, ',', messages::COMMA_EXPECTED);
    }
    if (result == READ_OK) {
        result = readComponent(reader, text, color.green);
    }
    if (result == READ_OK) {
        result = expectChar(reader, ',', messages::COMMA_EXPECTED);
    }
    if (result == READ_OK) {
        result = readComponent(reader, text, color.blue);
    }
    return result;
}

} // namespace

int32_t ScriptLoader::readHeader(ScriptReader& reader) {
    char* text = valueBuffer;
    int32_t result = readField(reader, 'T', messages::TITLE_EXPECTED, text, TEXT_LIMIT);
    if (result != READ_OK) {
        return result;
    }
    const size_t length = std::strlen(text);
    if (length > static_cast<size_t>(MAX_TITLE)) {
        return fail(LOAD_MEMORY, messages::TITLE_TOO_LARGE, LoadCause::TitleTooLong, MAX_TITLE);
    }
    std::memcpy(engine.title, text, length + 1);
    // The colour keyword is COLOR; the text colour's is any word beginning with T.
    result = readColor(reader, text, 'C', engine.color);
    if (result != READ_OK) {
        return result;
    }
    if (engine.scriptLines != nullptr) {
        engine.scriptLines->colorLine = reader.line();
    }
    result = readColor(reader, text, 'T', engine.textColor);
    if (result == READ_OK && engine.scriptLines != nullptr) {
        engine.scriptLines->textColorLine = reader.line();
    }
    return result;
}

} // namespace murmex
