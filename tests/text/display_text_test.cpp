// Decoding of script texts for display: UTF-8 kept, Windows-1252 converted.
#include "text/display_text.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct DecodingCase {
    const char* label;
    const char* bytes;
    const char* expected;
};

// Test names in CTest carry the label instead of the raw bytes.
void PrintTo(const DecodingCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class DisplayText : public ::testing::TestWithParam<DecodingCase> {};

TEST_P(DisplayText, DecodesWholeText) {
    EXPECT_EQ(murmex::displayText(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayText,
    ::testing::Values(DecodingCase{"Ascii", "Hello, &Smith.", "Hello, &Smith."},
                      DecodingCase{"Empty", "", ""},
                      DecodingCase{"Utf8Kept", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA8",
                                   "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA8"},
                      DecodingCase{"LatinByte", "Caf\xE9", "Caf\xC3\xA9"},
                      DecodingCase{"EuroByte",
                                   "\x80"
                                   "5",
                                   "\xE2\x82\xAC"
                                   "5"},
                      DecodingCase{"QuotesAndDashes", "\x93Hi\x94 \x96 \x85",
                                   "\xE2\x80\x9CHi\xE2\x80\x9D \xE2\x80\x93 \xE2\x80\xA6"},
                      DecodingCase{"UnassignedByteKeepsValue", "\x81", "\xC2\x81"},
                      // One invalid byte makes the whole text Windows-1252, valid pairs included.
                      DecodingCase{"MixedIsReadWhole", "\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
                      DecodingCase{"TruncatedSequence", "a\xE2\x82", "a\xC3\xA2\xE2\x80\x9A"},
                      DecodingCase{"OverlongRefused", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
                      DecodingCase{"SurrogateRefused", "\xED\xA0\x80",
                                   "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
                      DecodingCase{"BeyondUnicodeRefused", "\xF4\x90\x80\x80",
                                   "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}),
    [](const ::testing::TestParamInfo<DecodingCase>& info) { return info.param.label; });

TEST(DisplayTextNull, GivesEmptyText) {
    EXPECT_EQ(murmex::displayText(nullptr), "");
}

} // namespace
