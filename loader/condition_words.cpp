// A condition's fields read from words, by the condition block's rules: the
// one table of operators, the number rule of VAL fields and the ID's limit.
// Read from the end, where OP and VAL stand, so that the ID keeps its blanks;
// nothing is allocated.
#include "murmex/authoring/condition_words.h"

#include "loader/number_text.h"
#include "murmex/authoring/script_keywords.h"
#include "murmex/authoring/script_syntax.h"

#include <cstring>

namespace murmex {

namespace {

// Longer than every operator keyword: a longer word is none of them.
constexpr size_t OPERATOR_ROOM = 8;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

struct Word {
    size_t begin = 0;
    size_t length = 0;
};

// The last word of text[0, end); an empty one when there is none.
Word lastWord(const char* text, size_t end) {
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    size_t begin = end;
    while (begin > 0 && !isBlank(text[begin - 1])) {
        --begin;
    }
    return {begin, end - begin};
}

ConditionOp operatorOf(const char* text, const Word& word) {
    char keyword[OPERATOR_ROOM] = {};
    if (word.length == 0 || word.length >= OPERATOR_ROOM) {
        return static_cast<ConditionOp>(0);
    }
    std::memcpy(keyword, text + word.begin, word.length);
    return findOperatorKeyword(keyword);
}

// The ID: everything before the operator word, but the blanks around it.
const char* readName(const char* text, const Word& operatorWord, ConditionWords& read) {
    const Word last = lastWord(text, operatorWord.begin);
    if (last.length == 0) {
        return messages::ID_EXPECTED;
    }
    size_t begin = 0;
    while (isBlank(text[begin])) {
        ++begin;
    }
    read.nameBegin = begin;
    read.nameLength = last.begin + last.length - begin;
    // A quoted ID holds as many bytes at most.
    const auto most = static_cast<size_t>(scriptField(ScriptField::Variable).limit - 2);
    return read.nameLength > most ? messages::QUOTE_EXPECTED : nullptr;
}

} // namespace

const char* readConditionWords(const char* text, ConditionWords& words) {
    const Word last = lastWord(text, std::strlen(text));
    if (last.length == 0) {
        return messages::ID_EXPECTED;
    }
    const ConditionOp lastOp = operatorOf(text, last);
    if (lastOp == OP_NOT) {
        words.op = OP_NOT;
        return readName(text, last, words);
    }
    if (lastOp != 0) {
        return messages::VAL_EXPECTED;
    }
    const Word before = lastWord(text, last.begin);
    if (before.length == 0) {
        return messages::OP_EXPECTED;
    }
    const ConditionOp op = operatorOf(text, before);
    if (op == 0) {
        return messages::WRONG_OPERATOR;
    }
    if (op == OP_NOT) {
        // A VAL after "not" stops a condition block before its '}'.
        return messages::BLOCK_CLOSE_EXPECTED;
    }
    // The number ends at the blank after it, if any.
    if (!parseInteger(text + last.begin, words.value)) {
        return messages::CONDITION_WRONG_NUMBER;
    }
    words.op = op;
    return readName(text, before, words);
}

} // namespace murmex
