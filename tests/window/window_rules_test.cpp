// The window's rules without a window: colours, contrast and keys.
#include "window/contrast.h"
#include "window/derived_colors.h"
#include "window/window_keys.h"

#include <gtest/gtest.h>

namespace kestrine {
namespace {

TEST(DerivedColorsTest, ScalesEachComponentDown) {
    struct Case {
        uint8_t component;
        uint32_t window, line, answer;
    };
    const Case cases[] = {{255, 85, 150, 200}, {128, 42, 75, 100}, {1, 0, 0, 0},
                          {2, 0, 1, 1},        {3, 1, 1, 2},       {0, 0, 0, 0}};
    for (const Case& c : cases) {
        const murmex::Rgb rgb{c.component, c.component, c.component};
        const DerivedColors colors = DerivedColors::from(rgb, rgb);
        EXPECT_EQ(redOf(colors.windowColor), c.window) << int(c.component);
        EXPECT_EQ(greenOf(colors.lineColor), c.line) << int(c.component);
        EXPECT_EQ(blueOf(colors.answerTextColor), c.answer) << int(c.component);
    }
    const DerivedColors example = DerivedColors::from({10, 20, 30}, {0, 0, 0});
    EXPECT_EQ(example.windowColor, makeColorValue(3, 6, 10));
    EXPECT_EQ(example.lineColor, makeColorValue(5, 11, 17));
}

TEST(ContrastTest, RatiosRunFromOneToTwentyOne) {
    EXPECT_DOUBLE_EQ(contrastRatio(makeColorValue(0, 0, 0), makeColorValue(255, 255, 255)), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(makeColorValue(9, 80, 200), makeColorValue(9, 80, 200)), 1.0);
    // White on the line colour white derives: the hover check's reason for 2:1.
    const DerivedColors white = DerivedColors::from({255, 255, 255}, {255, 255, 255});
    EXPECT_LT(contrastRatio(white.hoverTextColor, white.lineColor), MIN_TEXT_CONTRAST);
    EXPECT_GT(contrastRatio(white.hoverTextColor, white.lineColor), MIN_HOVER_CONTRAST);
}

TEST(WindowKeysTest, DigitKeysStandForTheFiveLines) {
    for (int32_t line = 0; line < 5; ++line) {
        EXPECT_EQ(lineOfKey(keyOfLine(line)), line);
    }
    EXPECT_EQ(lineOfKey(WindowKey::Up), -1);
    EXPECT_EQ(lineOfKey(WindowKey::Other), -1);
}

} // namespace
} // namespace kestrine
