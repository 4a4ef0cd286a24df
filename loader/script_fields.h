// The steps every part of the script grammar is built from: a character that
// must come next, a quoted value, and a field (keyword letter, '=', value).
#pragma once

#include "loader/script_reader.h"
#include "murmex/script_syntax.h"

#include <cstdint>

namespace murmex {

// Skips to `wanted`. Any failure, the end of the file included, is a syntax
// error with `message`, which says more than the reader's own text.
int32_t expectChar(ScriptReader& reader, char wanted, const char* message);

// How a value is handed over: copied into the buffer and zero-terminated, or
// left where the reader has it (quotedText()) for a caller that only
// measures it or copies it into the pool.
enum class ValueUse { Copied, Pooled };

// Where a field's keyword and value stood, for a listener. Marking costs a
// few reads more, so a load without a listener passes none.
struct FieldPlaces {
    SyntaxSpan keyword;
    SyntaxSpan value;
};

// Reads a quoted value. Any failure is a syntax error whatever the reader
// returned, keeping the reader's text (empty when the file ended first).
int32_t readValue(ScriptReader& reader, char* buffer, int32_t limit,
                  ValueUse use = ValueUse::Copied, SyntaxSpan* place = nullptr);

// A keyword and its '='. Only the keyword's first letter is sought, so the
// rest of the keyword is skipped on the way to the '='.
int32_t readKeyword(ScriptReader& reader, const ScriptFieldInfo& field,
                    SyntaxSpan* place = nullptr);

// A field: keyword, '=' and quoted value.
int32_t readField(ScriptReader& reader, const ScriptFieldInfo& field, char* buffer,
                  ValueUse use = ValueUse::Copied, FieldPlaces* places = nullptr);

} // namespace murmex
