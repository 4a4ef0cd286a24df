// The script header: the title and the two colours, read in both passes.
#include "loader/script_loader.h"

#include "loader/number_text.h"
#include "loader/script_fields.h"
#include "murmex/load_messages.h"
#include "murmex/script_syntax.h"

#include <cstring>

namespace murmex {

bool readColorComponent(const char* text, int32_t& written, uint8_t& taken) {
    int32_t number = 0;
    if (!parseInteger(text, number)) {
        return false;
    }
    written = number;
    taken = static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFFu);
    return true;
}

int32_t ScriptLoader::readComponent(ScriptReader& reader, ScriptField which, uint8_t component,
                                    uint8_t& out, const SyntaxSpan& keyword) {
    // A colour component: a quoted number, of which the window's part is kept.
    char* text = valueBuffer;
    SyntaxSpan value;
    const int32_t result =
        readValue(reader, text, TEXT_LIMIT, ValueUse::Copied, telling() ? &value : nullptr);
    if (result != READ_OK) {
        return result;
    }
    // Told before its number is checked, as a unit's fields are.
    if (telling()) {
        listener->field({which, component, keyword, value, text});
    }
    int32_t written = 0;
    return readColorComponent(text, written, out) ? READ_OK : badNumber(reader, which);
}

int32_t ScriptLoader::readColor(ScriptReader& reader, ScriptField which, Rgb& color) {
    // The keyword (first letter only), '=' and three components separated by
    // commas. Each component is stored as soon as it is read.
    SyntaxSpan keyword;
    int32_t result = readKeyword(reader, scriptField(which), telling() ? &keyword : nullptr);
    uint8_t* const parts[] = {&color.red, &color.green, &color.blue};
    for (uint8_t component = 0; component < 3 && result == READ_OK; ++component) {
        if (component > 0) {
            result = expectChar(reader, ',', messages::COMMA_EXPECTED);
        }
        if (result == READ_OK) {
            // The first component is told with the keyword.
            result = readComponent(reader, which, component, *parts[component],
                                   component == 0 ? keyword : SyntaxSpan{});
        }
    }
    return result == READ_OK ? result : failedIn(which, result);
}

int32_t ScriptLoader::readHeader(ScriptReader& reader) {
    tellOpen(ScriptBlock::Header, reader.position(), reader.line());
    char* text = valueBuffer;
    int32_t result = readFieldOf(reader, ScriptField::Title, text);
    if (result != READ_OK) {
        return result;
    }
    const size_t length = std::strlen(text);
    if (length > static_cast<size_t>(MAX_TITLE)) {
        return failedIn(ScriptField::Title, fail(LOAD_MEMORY, messages::TITLE_TOO_LARGE,
                                                 LoadCause::TitleTooLong, MAX_TITLE));
    }
    std::memcpy(target.model.title, text, length + 1);
    // The colour keyword is COLOR; the text colour's is any word beginning with T.
    result = readColor(reader, ScriptField::Color, target.model.color);
    if (result == READ_OK) {
        result = readColor(reader, ScriptField::TextColor, target.model.textColor);
    }
    if (result == READ_OK) {
        tellClose(ScriptBlock::Header, reader.position(), reader.line());
    }
    return result;
}

} // namespace murmex
