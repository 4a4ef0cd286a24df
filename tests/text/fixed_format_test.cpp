// The bounded formatter gives what snprintf gives for the system's formats,
// cut where the buffer ends, and counts what did not fit.
#include "text/fixed_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace murmex {
namespace {

TEST(FixedFormat, FillsLikeSnprintfAndCutsAtTheBufferEnd) {
    char out[20];
    EXPECT_EQ(formatText(out, sizeof out, "Err=%i\nLine=%d %s", {-3, 12, "x"}), 16u);
    EXPECT_STREQ(out, "Err=-3\nLine=12 x");
    char expected[20];
    std::snprintf(expected, sizeof expected, "%d|%c|%s", INT32_MIN, 'q', "");
    EXPECT_EQ(formatText(out, sizeof out, "%d|%c|%s", {INT32_MIN, 'q', nullptr}), 14u);
    EXPECT_STREQ(out, expected);

    char small[6];
    EXPECT_EQ(formatText(small, sizeof small, "a %s b", {"longer"}), 10u);
    EXPECT_STREQ(small, "a lon");
    EXPECT_EQ(formatText(nullptr, 0, "%d%%x %s", {7}), 7u) << "measures; unknown and unfilled stay";
    formatText(out, sizeof out, "%d%%x %s", {7});
    EXPECT_STREQ(out, "7%%x %s");
}

} // namespace
} // namespace murmex
