// The window's rules without a window: colours, contrast, keys and how much
// text fits the controls.
#include "window/contrast.h"
#include "window/derived_colors.h"
#include "window/mnemonic_keys.h"
#include "window/text_fit.h"
#include "window/window_keys.h"
#include "window/word_wrap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

int32_t pixels(const std::string& text) {
    return textPixels(text.data(), text.size());
}

TEST(TextFitTest, TheCellAskedForGivesTheEmAndTheLine) {
    // 14 pixels of cell hold a 12-pixel em of the face (ascent 11, descent 3);
    // 13 pixels of em would make a cell of 15.
    EXPECT_EQ(textPixelsPerEm(), 12);
    EXPECT_EQ(textLineHeight(), 14);
    EXPECT_EQ(questionLinePixels(), 428);
    EXPECT_EQ(answerLinesShown(), 9);
}

TEST(TextFitTest, WidthsAreWholePixelsOfTheFaceWithoutMnemonicMarks) {
    // Bold digits are 1139 units: 6.67 pixels each, drawn as 7.
    EXPECT_EQ(pixels(std::string(10, '5')), 70);
    EXPECT_EQ(pixels("&Save && go"), pixels("Save && go"));
    EXPECT_EQ(pixels("Save && go") - pixels("Save go"), pixels("&&") + pixels(" "));
    // The same letter in Windows-1252 and in UTF-8, and the euro sign beyond Latin-1.
    EXPECT_EQ(pixels("caf\xE9"), pixels("caf\xC3\xA9"));
    EXPECT_GT(pixels("\x80"), 0);
    // Polish letters beyond Windows-1252, in a UTF-8 text: l with stroke is an l.
    EXPECT_EQ(pixels("\xC5\x82\xC3\xB3"
                     "d\xC5\xBA"),
              pixels("l\xF3"
                     "dz"));
}

TEST(TextFitTest, TextsCutOffWhereTheWindowCutsThem) {
    // 61 digits are 427 pixels, 62 are 434: the line is 428.
    const std::string fits(61, '5');
    const std::string cut(62, '5');
    std::string marksOnly; // 60 narrow letters, each marked
    for (int i = 0; i < 60; ++i) {
        marksOnly += "&i";
    }
    struct Case {
        const std::string* text;
        bool overflows;
    };
    const Case questions[] = {{&fits, false}, {&cut, true}, {&marksOnly, false}};
    for (const Case& c : questions) {
        EXPECT_EQ(questionOverflows(c.text->data(), c.text->size()), c.overflows) << *c.text;
    }

    std::string nineLines;
    for (int i = 0; i < 9; ++i) {
        nineLines += "Line\n";
    }
    const std::string tenLines = nineLines + "Line";
    // Two words of 61 digits cannot share a line; spaces where it breaks take no room.
    const std::string twoLines = fits + "   " + fits;
    const std::string longWord(70, 'M');
    const Case answers[] = {
        {&nineLines, false}, {&tenLines, true}, {&twoLines, false}, {&longWord, true}};
    for (const Case& c : answers) {
        EXPECT_EQ(answerOverflows(c.text->data(), c.text->size()), c.overflows) << *c.text;
    }
    EXPECT_EQ(layAnswerOut(twoLines.data(), twoLines.size()).lines, 2);
}

// Words of 10 pixels, spaces of 3: a word stays on its line only with room
// for the space after it, where one follows.
TEST(WordWrapTest, AWordNeedsRoomForTheSpaceAfterIt) {
    std::vector<WrapUnit> units;
    for (const char32_t point : std::u32string(U"A B C")) {
        units.push_back({point, point == U' ' ? 3 : 10});
    }
    struct Case {
        int32_t lineWidth;
        std::vector<size_t> lineBegins;
    };
    const Case cases[] = {{23, {0, 2}}, {26, {0, 4}}, {36, {0}}, {9, {0, 2, 4}}};
    for (const Case& c : cases) {
        const WrappedText wrapped = wrapText(units, c.lineWidth);
        std::vector<size_t> begins;
        for (const WrappedLine& line : wrapped.lines) {
            begins.push_back(line.begin);
        }
        EXPECT_EQ(begins, c.lineBegins) << c.lineWidth;
        EXPECT_EQ(wrapped.wordTooWide, c.lineWidth < 10) << c.lineWidth;
    }
}

} // namespace
} // namespace kestrine
