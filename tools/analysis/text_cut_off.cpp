// The wording of a text the window cuts off.
#include "tools/analysis/text_cut_off.h"

#include "window/text_fit.h"

#include <cstring>

namespace murmex::tool {

std::string questionCutOff(const char* question) {
    const size_t length = std::strlen(question);
    if (!kestrine::questionOverflows(question, length)) {
        return {};
    }
    return "is " + std::to_string(kestrine::textPixels(question, length)) +
           " pixels wide, more than the " + std::to_string(kestrine::questionLinePixels()) +
           " of the window's question line: the window cuts it off";
}

std::string answerCutOff(const char* answer) {
    const size_t length = std::strlen(answer);
    if (!kestrine::answerOverflows(answer, length)) {
        return {};
    }
    const kestrine::AnswerLayout layout = kestrine::layAnswerOut(answer, length);
    if (layout.wordTooWide) {
        return "has a word wider than the " + std::to_string(kestrine::answerAreaWidthPixels()) +
               " pixels of the window's answer area: the window cuts it off";
    }
    return "takes " + std::to_string(layout.lines) + " lines, more than the " +
           std::to_string(kestrine::answerLinesShown()) +
           " the window's answer area shows: the window cuts it off";
}

} // namespace murmex::tool
