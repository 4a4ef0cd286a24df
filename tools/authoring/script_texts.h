// The texts of a script that a player can see, each with where its bytes
// stand in the file, so that a translation can replace exactly those bytes
// and leave every keyword, number, comment and line end as it was.
#pragma once

#include "murmex/script_model.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

enum class TextKind { Title, Question, Answer };

// "title", "question", "answer".
const char* textKindName(TextKind kind);

struct ScriptText {
    // Unique within the script and unchanged by edits elsewhere: "TITLE", or
    // the character's name, the unit's state, the unit's place among the
    // character's units of that state (from 1) and Q or A:
    // "Mara/S1/2/Q". A name that repeats an earlier character's gets "~2",
    // "~3" after it, passing over any suffixed name another character has.
    std::string id;
    // The character's name for display; empty for the title.
    std::string character;
    TextKind kind = TextKind::Title;
    // Where the bytes between the quotes stand in the plain file, and the
    // line (from 1) they stand on.
    size_t offset = 0;
    size_t length = 0;
    int32_t line = 0;
    // The bytes as the script holds them, and decoded for people.
    std::string bytes;
    std::string text;
    // Who says it and when, in words, for the translator.
    std::string note;
    // The unit it belongs to; -1 for the title.
    int32_t characterIndex = -1;
    int32_t unitIndex = -1;
};

// Finds every shown text of the loaded script in `plain`, the script's bytes
// as the loader read them (descrambled). The title, each question, each
// initial answer in state 0 and each answer that follows a question are
// shown; "-" placeholders, empty texts, the answers of hand-overs and of
// units that end the conversation (the window shows the next character, or
// Intro again, instead) and units without a question outside state 0 are not. False, with `error`
// saying why, when the bytes and the model do not agree (the file changed since it was loaded, or
// holds a construction the scan does not follow).
bool findScriptTexts(const std::string& plain, const ScriptModel& engine,
                     std::vector<ScriptText>& texts, std::string& error);

// Compares the model of a script built from another by replacing texts: the
// same header colours, characters, units, states, actions, parameters,
// values and conditions, and each text equal to `expected` (the replaced
// bytes by id, the rest equal to the original's). False, with `error`, at the
// first difference.
bool sameScriptBesidesTexts(const ScriptModel& original, const ScriptModel& built,
                            const std::vector<ScriptText>& texts,
                            const std::vector<std::string>& replacedBytes, std::string& error);

} // namespace murmex::tool
