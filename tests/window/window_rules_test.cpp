// The window's rules without a window: colours, contrast, keys and how much
// text fits the controls.
#include "window/contrast.h"
#include "window/derived_colors.h"
#include "window/mnemonic_keys.h"
#include "window/text_fit.h"
#include "window/window_keys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

TEST(MnemonicKeysTest, LettersAndDigitsOnly) {
    for (const char32_t point : {U'a', U'Z', U'5', U'\u00E9', U'\u00AA', U'\u0416'}) {
        EXPECT_TRUE(canBeMnemonic(point)) << static_cast<uint32_t>(point);
    }
    for (const char32_t point : {U' ', U'!', U'\u00D7', U'\u00F7', U'\u2014', U'\u20AC'}) {
        EXPECT_FALSE(canBeMnemonic(point)) << static_cast<uint32_t>(point);
    }
}

double width(const std::string& text) {
    return textWidthInDialogUnits(text.data(), text.size());
}

TEST(TextFitTest, WidthsComeFromTheFaceAndSkipMnemonicMarks) {
    // W is the widest letter of the face, i the narrowest.
    EXPECT_GT(width("WWWW"), 3 * width("iiii"));
    EXPECT_DOUBLE_EQ(width("&Save && go"), width("Save && go"));
    EXPECT_DOUBLE_EQ(width("Save && go") - width("Save go"), width("&&") + width(" "));
    // The same letter in Windows-1252 and in UTF-8, and the euro sign beyond Latin-1.
    EXPECT_DOUBLE_EQ(width("caf\xE9"), width("caf\xC3\xA9"));
    EXPECT_GT(width("\x80"), 0.0);
    // 34 bold digits fill about 6/4 * 34 * 14 * 1139 / 2288 pixels.
    EXPECT_NEAR(width(std::string(34, '5')), 34 * 14 * 1139.0 / 2288 * 4 / 6, 0.01);
    EXPECT_LE(leastTextPixels("55555", 5), 5 * 14 * 1139 / 2288);
}

TEST(TextFitTest, OnlyTextsThatSurelyDoNotFitOverflow) {
    const std::string shortQuestion = "Where is the mill?";
    const std::string french =
        "Pourriez-vous m'expliquer pourquoi le meunier a ferm\xE9 son moulin si t\xF4t ce matin ?";
    const std::string justOver = std::string(72, 'W');
    std::string marksOnly; // 60 narrow letters, each marked
    for (int i = 0; i < 60; ++i) {
        marksOnly += "&i";
    }
    struct Case {
        const std::string* text;
        bool overflows;
    };
    const Case questions[] = {
        {&shortQuestion, false}, {&french, true}, {&justOver, true}, {&marksOnly, false}};
    for (const Case& c : questions) {
        EXPECT_EQ(questionSurelyOverflows(c.text->data(), c.text->size()), c.overflows) << *c.text;
    }

    std::string tenLines;
    for (int i = 0; i < 10; ++i) {
        tenLines += "Line\n";
    }
    std::string paragraph;
    while (paragraph.size() < 400) {
        paragraph += "The miller grinds the grain at dawn. ";
    }
    const std::string longWord(90, 'M');
    const Case answers[] = {
        {&shortQuestion, false}, {&tenLines, false}, {&paragraph, false}, {&longWord, true}};
    for (const Case& c : answers) {
        EXPECT_EQ(answerSurelyOverflows(c.text->data(), c.text->size()), c.overflows) << *c.text;
    }
    const std::string elevenLines = tenLines + "Line";
    EXPECT_TRUE(answerSurelyOverflows(elevenLines.data(), elevenLines.size()));
    const std::string twice = paragraph + paragraph + paragraph;
    EXPECT_TRUE(answerSurelyOverflows(twice.data(), twice.size()));
}

} // namespace
} // namespace kestrine
