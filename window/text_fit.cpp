// Measuring script texts against the window's controls.
#include "window/text_fit.h"

#include "window/advance_widths.h"
#include "window/dialog_templates.h"
#include "window/dialog_units.h"
#include "window/text_font.h"

#include "murmex/script_text.h"
#include "text/code_page.h"

#include <string>
#include <vector>

namespace kestrine {

namespace {

int32_t advanceOf(char32_t codePoint) {
    if (codePoint < 0x100) {
        return advance_widths::LATIN_1[codePoint];
    }
    for (const advance_widths::Advance& extra : advance_widths::WINDOWS_1252_EXTRA) {
        if (extra.codePoint == codePoint) {
            return extra.width;
        }
    }
    return 0;
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

// A positive font height asks Windows for the cell, ascent and descent
// together; the em is the part of it the face's design grid gives.
int32_t cellUnits() {
    return advance_widths::WIN_ASCENT + advance_widths::WIN_DESCENT;
}

// Whole pixels per em at least: the size the height asks for, rounded down.
int32_t leastPixelsPerEm() {
    return TEXT_FONT.cellHeight * advance_widths::UNITS_PER_EM / cellUnits();
}

// The least height of a line: the cell of the least em, rounded down.
int32_t leastLineHeight() {
    return leastPixelsPerEm() * cellUnits() / advance_widths::UNITS_PER_EM;
}

int32_t leastPixels(char32_t codePoint) {
    return advanceOf(codePoint) * leastPixelsPerEm() / advance_widths::UNITS_PER_EM;
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

int64_t textAdvance(const char* bytes, size_t length) {
    int64_t width = 0;
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        width += advanceOf(point);
    }
    return width;
}

double textWidthInDialogUnits(const char* bytes, size_t length) {
    // Font units to pixels of the cell the window asks for, then pixels to
    // horizontal dialog units (a quarter of the base width each).
    const double pixels =
        static_cast<double>(textAdvance(bytes, length)) * TEXT_FONT.cellHeight / cellUnits();
    return pixels * 4 / BASE_UNIT_X;
}

int32_t leastTextPixels(const char* bytes, size_t length) {
    int32_t width = 0;
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        width += leastPixels(point);
    }
    return width;
}

bool questionSurelyOverflows(const char* bytes, size_t length) {
    return leastTextPixels(bytes, length) >
           dialogUnitsToPixelsX(controlOf(CONTROL_QUESTION_0).width);
}

bool answerSurelyOverflows(const char* bytes, size_t length) {
    const ControlTemplate& area = controlOf(CONTROL_ANSWER);
    const int32_t lineWidth = dialogUnitsToPixelsX(area.width);
    const int32_t linesShown = dialogUnitsToPixelsY(area.height) / leastLineHeight();
    // Greedy wrapping at spaces: with every width at its least, no line ends
    // earlier than in the window, so the count of lines is a least count too.
    // Blanks beyond one between words, which only widen a line, are not counted.
    const int32_t space = leastPixels(U' ');
    int32_t lines = 1;
    int32_t lastTextLine = 0;
    int32_t lineUsed = 0;
    int32_t word = 0;
    bool inWord = false;
    bool tooWide = false;
    auto placeWord = [&] {
        if (!inWord) {
            return;
        }
        // A word wider than the line is cut off at its right edge, or broken
        // over more lines, which cuts the text off below if anything does.
        tooWide = tooWide || word > lineWidth;
        if (lineUsed > 0 && lineUsed + space + word > lineWidth) {
            ++lines;
            lineUsed = word;
        } else {
            lineUsed += (lineUsed > 0 ? space : 0) + word;
        }
        lastTextLine = lines;
        word = 0;
        inWord = false;
    };
    for (const char32_t point : drawnCodePoints(bytes, length)) {
        if (point == U' ' || point == U'\n') {
            placeWord();
            if (point == U'\n') {
                ++lines;
                lineUsed = 0;
            }
        } else if (point != U'\r') {
            word += leastPixels(point);
            inWord = true;
        }
    }
    placeWord();
    return tooWide || lastTextLine > linesShown;
}

} // namespace kestrine
