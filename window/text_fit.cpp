// Measuring script texts against the window's controls.
#include "window/text_fit.h"

#include "window/advance_widths.h"
#include "window/dialog_templates.h"
#include "window/dialog_units.h"
#include "window/text_font.h"
#include "window/word_wrap.h"

#include "murmex/script_text.h"
#include "text/code_page.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace kestrine {

namespace {

int32_t advanceOf(char32_t codePoint) {
    if (codePoint < 0x100) {
        return advance_widths::LATIN_1[codePoint];
    }
    const auto* const end = std::end(advance_widths::BEYOND_LATIN_1);
    const auto* const found =
        std::lower_bound(std::begin(advance_widths::BEYOND_LATIN_1), end, codePoint,
                         [](const advance_widths::Advance& entry, char32_t point) {
                             return entry.codePoint < point;
                         });
    return found != end && found->codePoint == codePoint ? found->width : 0;
}

// The code points of the text as drawn: markers removed, then decoded.
std::vector<char32_t> drawnCodePoints(const char* bytes, size_t length) {
    std::string shown(length + 1, '\0');
    shown.resize(murmex::removeMnemonicMarks(bytes, length, shown.data(), shown.size()));
    std::vector<char32_t> points;
    const auto* text = reinterpret_cast<const uint8_t*>(shown.data());
    if (!murmex::isUtf8Text(shown.data(), shown.size())) {
        for (const uint8_t byte : std::string_view(shown)) {
            points.push_back(murmex::code_page::windows1252CodePoint(byte));
        }
        return points;
    }
    for (size_t at = 0; at < shown.size();) {
        const size_t sequence = murmex::code_page::utf8SequenceLength(text + at, shown.size() - at);
        points.push_back(murmex::code_page::utf8CodePoint(text + at, sequence));
        at += sequence;
    }
    return points;
}

// Font units to whole pixels at the text font's em, halves up.
int32_t unitsToPixels(int64_t units) {
    return static_cast<int32_t>((units * textPixelsPerEm() * 2 + advance_widths::UNITS_PER_EM) /
                                (advance_widths::UNITS_PER_EM * 2));
}

int32_t cellPixels(int32_t pixelsPerEm) {
    const auto rounded = [pixelsPerEm](int32_t units) {
        return (units * pixelsPerEm * 2 + advance_widths::UNITS_PER_EM) /
               (advance_widths::UNITS_PER_EM * 2);
    };
    return rounded(advance_widths::WIN_ASCENT) + rounded(advance_widths::WIN_DESCENT);
}

int32_t pixelsOf(char32_t codePoint) {
    return unitsToPixels(advanceOf(codePoint));
}

const ControlTemplate& controlOf(int32_t id) {
    const DialogTemplate& dialog = conversationDialogTemplate();
    for (int32_t i = 0; i < dialog.controlCount; ++i) {
        if (dialog.controls[i].id == id) {
            return dialog.controls[i];
        }
    }
    return dialog.controls[0];
}

} // namespace

int32_t textPixelsPerEm() {
    // A positive font height asks for the cell, ascent and descent together.
    // The em it gives is rounded to whole pixels, and one less where the
    // rounded cell would be taller than asked.
    const int32_t cellUnits = advance_widths::WIN_ASCENT + advance_widths::WIN_DESCENT;
    int32_t pixelsPerEm =
        (TEXT_FONT.cellHeight * advance_widths::UNITS_PER_EM * 2 + cellUnits) / (cellUnits * 2);
    while (pixelsPerEm > 1 && cellPixels(pixelsPerEm) > TEXT_FONT.cellHeight) {
        --pixelsPerEm;
    }
    return pixelsPerEm;
}

int32_t textLineHeight() {
    return cellPixels(textPixelsPerEm());
}

int64_t textAdvance(const char* bytes, size_t length) {
    int64_t width = 0;
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        width += advanceOf(point);
    }
    return width;
}

int32_t textPixels(const char* bytes, size_t length) {
    int32_t width = 0;
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        width += pixelsOf(point);
    }
    return width;
}

int32_t questionLinePixels() {
    return dialogUnitsToPixelsX(controlOf(CONTROL_QUESTION_0).width);
}

int32_t answerAreaWidthPixels() {
    return dialogUnitsToPixelsX(controlOf(CONTROL_ANSWER).width);
}

bool questionOverflows(const char* bytes, size_t length) {
    return textPixels(bytes, length) > questionLinePixels();
}

AnswerLayout layAnswerOut(const char* bytes, size_t length) {
    std::vector<WrapUnit> units;
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        units.push_back({point, pixelsOf(point)});
    }
    const WrappedText wrapped = wrapText(units, answerAreaWidthPixels());
    return {static_cast<int32_t>(linesWithText(wrapped)), wrapped.wordTooWide};
}

int32_t answerLinesShown() {
    return dialogUnitsToPixelsY(controlOf(CONTROL_ANSWER).height) / textLineHeight();
}

bool answerOverflows(const char* bytes, size_t length) {
    const AnswerLayout layout = layAnswerOut(bytes, length);
    return layout.wordTooWide || layout.lines > answerLinesShown();
}

} // namespace kestrine
