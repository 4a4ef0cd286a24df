// The integer rule of script values. Written by hand rather than taken from the
// C library's scanners, whose behaviour on overflow is undefined: scripts in
// the wild hold numbers beyond 32 bits and must keep loading the same way.
#include "loader/number_text.h"

namespace murmex {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Value of c as a digit, or a value not below any base when c is no digit.
uint32_t digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint32_t>(c - 'A' + 10);
    }
    return 16;
}

} // namespace

bool parseInteger(const char* text, int32_t& value) {
    const char* next = text;
    while (isBlank(*next)) {
        ++next;
    }
    bool negative = false;
    if (*next == '+' || *next == '-') {
        negative = *next == '-';
        ++next;
    }
    uint32_t base = 10;
    if (next[0] == '0') {
        // "0x" without a hexadecimal digit after it is the number 0 followed by
        // ignored text, so the 0 alone already makes a number.
        if ((next[1] == 'x' || next[1] == 'X') && digitValue(next[2]) < 16) {
            base = 16;
            next += 2;
        } else {
            base = 8;
        }
    }
    if (digitValue(*next) >= base) {
        return false;
    }
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the rule.
    uint32_t magnitude = 0;
    for (uint32_t digit = digitValue(*next); digit < base; digit = digitValue(*++next)) {
        magnitude = magnitude * base + digit;
    }
    const uint32_t bits = negative ? 0u - magnitude : magnitude;
    value = static_cast<int32_t>(bits);
    return true;
}

} // namespace murmex
