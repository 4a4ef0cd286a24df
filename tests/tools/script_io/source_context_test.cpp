// The lines shown around an error: where the window of lines starts and ends,
// the gutter's width, line ends and control bytes, and scrambled bytes.
#include "tools/script_io/source_context.h"

#include "support/scrambled.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using murmex::tool::sourceContext;

struct ContextCase {
    const char* label;
    std::string bytes;
    int32_t line;
    std::string shown;
};

void PrintTo(const ContextCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class SourceContext : public ::testing::TestWithParam<ContextCase> {};

TEST_P(SourceContext, ShowsTheLinesAround) {
    EXPECT_EQ(sourceContext(GetParam().bytes, false, GetParam().line), GetParam().shown);
}

const std::string TWELVE_LINES = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nl";

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceContext,
    ::testing::Values(
        ContextCase{"FirstLine", TWELVE_LINES, 1, "> 1 | a\n  2 | b\n  3 | c\n"},
        ContextCase{"Middle", TWELVE_LINES, 5, "  3 | c\n  4 | d\n> 5 | e\n  6 | f\n  7 | g\n"},
        // The gutter is as wide as the largest number shown.
        ContextCase{"WideGutter", TWELVE_LINES, 9,
                    "   7 | g\n   8 | h\n>  9 | i\n  10 | j\n  11 | k\n"},
        ContextCase{"LastLine", TWELVE_LINES, 12, "  10 | j\n  11 | k\n> 12 | l\n"},
        ContextCase{"PastTheEnd", TWELVE_LINES, 13, ""}, ContextCase{"Zero", TWELVE_LINES, 0, ""},
        // A value that runs to the end of the file stands on the empty rest.
        ContextCase{"EmptyRestMarked", "a\r\nb\r\n", 3, "  1 | a\n  2 | b\n> 3 |\n"},
        ContextCase{"ControlBytes", std::string("x\0y\x1bz\tw", 7), 1, "> 1 | x?y?z\tw\n"},
        ContextCase{"Windows1252", "caf\xE9", 1, "> 1 | caf\xC3\xA9\n"}),
    [](const ::testing::TestParamInfo<ContextCase>& info) { return info.param.label; });

TEST(SourceContextScrambled, IsDescrambledFirst) {
    const std::string bytes = murmex::testing::scrambled("one\r\ntwo\r\nthree");
    EXPECT_EQ(sourceContext(bytes, true, 2, 1), "  1 | one\n> 2 | two\n  3 | three\n");
}

} // namespace
