// The integer rule of script values: bases, signs, where a number stops, and
// wrapping beyond 32 bits.
#include "loader/number_text.h"

#include <gtest/gtest.h>

namespace murmex {
namespace {

struct NumberCase {
    const char* text;
    bool parsed;
    int32_t value;
};

class NumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, ReadsAsTabled) {
    int32_t value = 12345;
    EXPECT_EQ(parseInteger(GetParam().text, value), GetParam().parsed);
    EXPECT_EQ(value, GetParam().parsed ? GetParam().value : 12345); // untouched on failure
}

INSTANTIATE_TEST_SUITE_P(
    Rule, NumberTextTest,
    ::testing::Values(
        NumberCase{"010", true, 8}, NumberCase{"0x1F", true, 31}, NumberCase{"0X1f", true, 31},
        NumberCase{"-2", true, -2}, NumberCase{"+5", true, 5}, NumberCase{" \t\r\n7", true, 7},
        NumberCase{"7 apples", true, 7}, NumberCase{"12abc", true, 12}, NumberCase{"08", true, 0},
        NumberCase{"0x", true, 0}, NumberCase{"0xg", true, 0}, NumberCase{"-0x10", true, -16},
        NumberCase{"0", true, 0},
        // Beyond 32 bits the value wraps: modulo 2^32, read as signed.
        NumberCase{"0xFFFFFFFF", true, -1}, NumberCase{"4294967297", true, 1},
        NumberCase{"2147483648", true, INT32_MIN}, NumberCase{"-2147483648", true, INT32_MIN},
        NumberCase{"99999999999", true, 1215752191}, NumberCase{"0x123456789", true, 0x23456789},
        NumberCase{"", false, 0}, NumberCase{" ", false, 0}, NumberCase{"x", false, 0},
        NumberCase{"-", false, 0}, NumberCase{"+ 1", false, 0}, NumberCase{"--1", false, 0}));

} // namespace
} // namespace murmex
