// The shared steps of the script grammar.
#include "loader/script_fields.h"

#include "murmex/load_messages.h"

namespace murmex {

int32_t expectChar(ScriptReader& reader, char wanted, const char* message) {
    if (reader.seekChar(wanted) != READ_OK) {
        // An unexpected brace or quote has been noted by the reader; otherwise
        // the source ended here.
        return reader.syntaxError(message, LoadCause::EndOfFile);
    }
    return READ_OK;
}

int32_t readValue(ScriptReader& reader, char* buffer, int32_t limit, ValueUse use) {
    const int32_t result = use == ValueUse::Copied ? reader.readQuoted(buffer, limit)
                                                   : reader.readQuotedText(buffer, limit);
    if (result != READ_OK) {
        reader.noteCause(LoadCause::EndOfFile);
        return LOAD_SYNTAX;
    }
    return READ_OK;
}

int32_t readField(ScriptReader& reader, char letter, const char* missingMessage, char* buffer,
                  int32_t limit, ValueUse use) {
    // Nearly every field stands whole in the fetched chunk on one line.
    if (reader.readFieldInChunk(letter, limit)) {
        if (use == ValueUse::Copied) {
            reader.copyQuotedText(buffer);
        }
        return READ_OK;
    }
    int32_t result = expectChar(reader, letter, missingMessage);
    if (result == READ_OK) {
        result = expectChar(reader, '=', messages::EQUALS_EXPECTED);
    }
    if (result == READ_OK) {
        result = readValue(reader, buffer, limit, use);
    }
    return result;
}

} // namespace murmex
