// Why the window cuts a question or an answer off, worded for a warning, so
// that lint and the translation commands say it alike.
#pragma once

#include <string>

namespace murmex::tool {

// Empty when the question fits its line; otherwise what follows the quoted
// question in a warning.
std::string questionCutOff(const char* question);

// Empty when the answer fits its area; otherwise what follows the quoted
// answer in a warning.
std::string answerCutOff(const char* answer);

} // namespace murmex::tool
