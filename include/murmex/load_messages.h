// The host API, for games that embed the engine.
// The fixed error texts of the script loader. Script authors see them in the
// player's message box exactly as written here, so the wording (spelling
// included) is part of the file format's contract and must not be edited.
#pragma once

namespace murmex::messages {

// Reader.
inline constexpr const char* OPEN_BRACE_UNEXPECTED = "Syntax error: { unexpected";
inline constexpr const char* CLOSE_BRACE_UNEXPECTED = "Syntax error: } unexpected";
inline constexpr const char* QUOTE_UNEXPECTED = "Syntax error: \" unexpected";
inline constexpr const char* QUOTE_EXPECTED = "Syntax error: Expected \"";

// Header.
inline constexpr const char* TITLE_EXPECTED = "Syntax error: TITLE expected";
inline constexpr const char* COLOR_EXPECTED = "Syntax error: COLOR expected";
inline constexpr const char* EQUALS_EXPECTED = "Syntax error: = expected";
inline constexpr const char* COMMA_EXPECTED = "Syntax error: , expected";
inline constexpr const char* TITLE_TOO_LARGE = "Title is too large!";
inline constexpr const char* HEADER_WRONG_NUMBER = "Syntax error: Wrong number!";

// Character blocks and talk units.
inline constexpr const char* BLOCK_OPEN_EXPECTED = "Syntax error: Expected {";
inline constexpr const char* BLOCK_CLOSE_EXPECTED = "Syntax error: } expected";
inline constexpr const char* TOO_MANY_CHARACTERS = "Limits: maximum characters reached!";
inline constexpr const char* TOO_MANY_UNITS = "Maximum talk-units reached!";
inline constexpr const char* OUT_OF_MEMORY = "Not enougth memory!";
inline constexpr const char* S_EXPECTED = "Syntax error: S expected";
inline constexpr const char* N_EXPECTED = "Syntax error: N expected";
inline constexpr const char* Q_EXPECTED = "Syntax error: Q expected";
inline constexpr const char* A_EXPECTED = "Syntax error: A expected";
inline constexpr const char* ACT_EXPECTED = "Syntax error: ACT expected";
inline constexpr const char* PARAM_EXPECTED = "Syntax error: PARAM expected";
inline constexpr const char* VAL_EXPECTED = "Syntax error: VAL expected";
inline constexpr const char* UNIT_WRONG_NUMBER = "Syntax error: Wrong number";
inline constexpr const char* UNKNOWN_ACTION = "Syntax error: unknown action.";
inline constexpr const char* CONDITION_LIST_OPEN = "Syntax error: { or } expected";
inline constexpr const char* TOO_MANY_CONDITIONS = "Maximum conditions reached!";

// Conditions.
inline constexpr const char* ID_EXPECTED = "Syntax error: ID expected";
inline constexpr const char* OP_EXPECTED = "Syntax error: OP expected";
inline constexpr const char* WRONG_OPERATOR = "Syntax error: wrong operator";
inline constexpr const char* CONDITION_WRONG_NUMBER = "Wrong number.";

// The filling pass met more text than the measuring pass counted.
inline constexpr const char* FILE_CHANGED = "Script file changed while loading!";

} // namespace murmex::messages
