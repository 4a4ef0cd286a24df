// The shared steps of the script grammar.
#include "loader/script_fields.h"

#include "murmex/load_messages.h"

namespace murmex {

namespace {
bool isKeywordLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

int32_t expectChar(ScriptReader& reader, char wanted, const char* message) {
    if (reader.seekChar(wanted) != READ_OK) {
        // An unexpected brace or quote has been noted by the reader; otherwise
        // the source ended here.
        return reader.syntaxError(message, LoadCause::EndOfFile);
    }
    return READ_OK;
}

int32_t readValue(ScriptReader& reader, char* buffer, int32_t limit, ValueUse use,
                  SyntaxSpan* place) {
    const int32_t result = use == ValueUse::Copied ? reader.readQuoted(buffer, limit)
                                                   : reader.readQuotedText(buffer, limit);
    if (result != READ_OK) {
        reader.noteCause(LoadCause::EndOfFile);
        return LOAD_SYNTAX;
    }
    if (place != nullptr) {
        // Values can't span lines, so the value stands on the line reached.
        const uint32_t closingQuote = reader.position() - 1;
        *place = {closingQuote - static_cast<uint32_t>(reader.quotedRawLength()), closingQuote,
                  reader.line()};
    }
    return READ_OK;
}

int32_t readKeyword(ScriptReader& reader, const ScriptFieldInfo& field, SyntaxSpan* place) {
    int32_t result = expectChar(reader, field.letter, field.missingMessage);
    if (result != READ_OK || place == nullptr) {
        return result == READ_OK ? expectChar(reader, '=', messages::EQUALS_EXPECTED) : result;
    }
    *place = {reader.position() - 1, reader.position(), reader.line()};
    // The letters written after the sought one are taken one by one to find
    // where the keyword ends; the seek for the '=' would skip them anyway.
    char c = 0;
    for (;;) {
        if (reader.readChar(c, 0) != READ_OK) {
            return reader.syntaxError(messages::EQUALS_EXPECTED, LoadCause::EndOfFile);
        }
        if (!isKeywordLetter(c) || reader.position() - 1 != place->end) {
            break;
        }
        place->end = reader.position();
    }
    if (reader.seekCharAfter(c, '=') != READ_OK) {
        return reader.syntaxError(messages::EQUALS_EXPECTED, LoadCause::EndOfFile);
    }
    return READ_OK;
}

int32_t readField(ScriptReader& reader, const ScriptFieldInfo& field, char* buffer, ValueUse use,
                  FieldPlaces* places) {
    // Nearly every field stands whole in the fetched chunk on one line.
    if (places == nullptr && reader.readFieldInChunk(field.letter, field.limit)) {
        if (use == ValueUse::Copied) {
            reader.copyQuotedText(buffer);
        }
        return READ_OK;
    }
    int32_t result = readKeyword(reader, field, places != nullptr ? &places->keyword : nullptr);
    if (result == READ_OK) {
        result = readValue(reader, buffer, field.limit, use,
                           places != nullptr ? &places->value : nullptr);
    }
    return result;
}

} // namespace murmex
