// The host API, for games that embed the engine.
// The fixed texts a conversation step fails with. The player shows them in its
// message box exactly as written here, and tools recognise a failure by them,
// so the wording is part of the engine's contract and must not be edited.
#pragma once

namespace murmex::runtime_messages {

// No loaded character has the name asked for, or its index is out of range.
inline constexpr const char* CHARACTER_NOT_FOUND = "Character not found!";
// A started character has no opening answer in its state.
inline constexpr const char* NO_INITIAL_ANSWER = "No initial answer found!";
// A started character has no question to offer.
inline constexpr const char* NO_QUESTIONS_FOUND = "No questions found!";
// The chosen question does not fit, or its action failed.
inline constexpr const char* CANNOT_APPLY = "Can't apply question!";
// After a step the character has nothing left to offer.
inline constexpr const char* NO_QUESTIONS = "No questions!";

} // namespace murmex::runtime_messages
