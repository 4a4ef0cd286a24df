// Telling a plain script from a scrambled one by its first line, on the demo
// and on scripts whose first bytes make the other reading nearly right: its
// magic line standing in the bytes from the second one on.
#include "tools/script_io/script_reading.h"

#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"
#include "tools/script_io/script_loading.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using murmex::testing::scrambled;

const std::string MAGIC_LINE = "MurmexSrcFile\r";

// A comment whose bytes, read the other way round than `plain` says, put
// the magic line right after the '#', ahead of the script.
std::string behindAComment(const std::string& script, bool plain) {
    const std::string key = scrambled(std::string(MAGIC_LINE.size() + 1, '\0'));
    std::string comment = "#";
    for (size_t i = 0; i < MAGIC_LINE.size(); ++i) {
        comment += static_cast<char>(MAGIC_LINE[i] ^ key[i + 1]);
    }
    EXPECT_EQ(comment.find('\n'), std::string::npos);
    const std::string text = comment + "\n" + script;
    return plain ? text : scrambled(text);
}

std::string demo() {
    return murmex::testing::readBytes(MURMEX_DEMO_SCRIPT);
}

struct ReadingCase {
    const char* label;
    std::string bytes;
    bool plain;
    bool loads;
};

void PrintTo(const ReadingCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class FirstLineReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(FirstLineReading, TakesTheReadingThatFindsTheMagic) {
    const ReadingCase& reading = GetParam();
    EXPECT_EQ(murmex::tool::bytesReadPlain(reading.bytes), reading.plain);
    EXPECT_EQ(murmex::tool::loadScriptText(reading.bytes, reading.plain).ok(), reading.loads);
}

const std::string LINE_FEEDS = "MurmexSrcFile\nTITLE = \"T\"\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstLineReading,
    ::testing::Values(
        ReadingCase{"Demo", demo(), true, true},
        ReadingCase{"ScrambledDemo", scrambled(demo()), false, true},
        ReadingCase{"MagicDescramblesAfterTheFirstByte", behindAComment(demo(), true), true, true},
        ReadingCase{"MagicStandsAfterTheFirstByte", behindAComment(demo(), false), false, true},
        // Neither loads, but each reads the way its error explains.
        ReadingCase{"LineFeedsAlone", LINE_FEEDS, true, false},
        ReadingCase{"ScrambledLineFeedsAlone", scrambled(LINE_FEEDS), false, false},
        ReadingCase{"ByteOrderMark", "\xEF\xBB\xBF" + murmex::testing::smallScript(), true, false},
        // With neither reading right, as the player reads.
        ReadingCase{"NoScript", "Hello, this is no script at all.\r\n", false, false}),
    [](const ::testing::TestParamInfo<ReadingCase>& info) { return info.param.label; });

} // namespace
