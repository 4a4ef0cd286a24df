// The measure of what fits against the platform's own text layout: the
// window's font as the Win32 window makes it, and the texts laid out as its
// static controls lay them out (one line for a question, word-wrapped for
// the answer, an ampersand marking the next letter), a few pixels either
// side of the edge.
#include "player/win32/text_font.h"
#include "player/win32/utf16.h"
#include "window/dialog_templates.h"
#include "window/dialog_units.h"
#include "window/text_font.h"

#include "support/window_edge_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrine::win32 {
namespace {

class Win32TextFitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context = ::CreateCompatibleDC(nullptr);
        font = createTextFont();
        previous = ::SelectObject(context, font);
    }
    void TearDown() override {
        ::SelectObject(context, previous);
        ::DeleteObject(font);
        ::DeleteDC(context);
    }

    // True when the text laid out in a control of the given size does not fit it.
    bool cuts(const std::string& text, UINT layout, int32_t width, int32_t height) const {
        const std::wstring shown = scriptTextToUtf16(text.c_str());
        RECT bounds = {0, 0, width, height};
        ::DrawTextW(context, shown.c_str(), static_cast<int>(shown.size()), &bounds,
                    layout | DT_LEFT | DT_CALCRECT);
        return bounds.right > width || bounds.bottom > height;
    }

    std::wstring faceName() const {
        wchar_t face[LF_FACESIZE] = {};
        ::GetTextFaceW(context, LF_FACESIZE, face);
        return face;
    }

    HDC context = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(Win32TextFitTest, TheFontHasTheCellAskedFor) {
    TEXTMETRICW metrics = {};
    ASSERT_TRUE(::GetTextMetricsW(context, &metrics));
    EXPECT_EQ(metrics.tmHeight, TEXT_FONT.cellHeight);
}

TEST_F(Win32TextFitTest, ThePlatformCutsOffWhatTheMeasureSaysItCuts) {
    const std::wstring face = faceName();
    if (face != L"Arial" && face.rfind(L"Liberation Sans", 0) != 0) {
        GTEST_SKIP() << "Arial is drawn in another face here";
    }
    const int32_t line = dialogUnitsToPixelsX(285);
    const int32_t area = dialogUnitsToPixelsY(80);
    for (const char* sentence : murmex::testing::EDGE_SENTENCES) {
        const murmex::testing::EdgeTexts questions = murmex::testing::questionEdge(sentence);
        EXPECT_FALSE(cuts(questions.fits, DT_SINGLELINE, line, 1000)) << questions.fits;
        EXPECT_TRUE(cuts(questions.cut, DT_SINGLELINE, line, 1000)) << questions.cut;
        const murmex::testing::EdgeTexts answers = murmex::testing::answerEdge(sentence);
        EXPECT_FALSE(cuts(answers.fits, DT_WORDBREAK, line, area)) << answers.fits;
        EXPECT_TRUE(cuts(answers.cut, DT_WORDBREAK, line, area)) << answers.cut;
    }
}

} // namespace
} // namespace kestrine::win32
