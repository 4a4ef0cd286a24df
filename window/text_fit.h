// How much text the window's answer area and question lines show. The window
// draws them in TEXT_FONT: the face's em in the whole pixels the platform
// picks for the cell asked for, each advance rounded to whole pixels (as the
// fully hinted face draws it), no kerning. The measure uses the advance widths
// of Liberation Sans Bold, which has the same widths as the face asked for,
// and the window's conversion of dialog units at 96 DPI. Mnemonic markers are
// not drawn and are not measured.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrine {

// The em of the window's text font in whole pixels: the largest whose cell
// (ascent and descent, each rounded) is no taller than TEXT_FONT.cellHeight.
int32_t textPixelsPerEm();

// The height of a line of text, ascent plus descent in whole pixels.
int32_t textLineHeight();

// The width of the text as drawn, in font units (UNITS_PER_EM to the em).
// The bytes are decoded as the window decodes them: UTF-8 when the whole
// text is, else Windows-1252. A character beyond Windows-1252 and Latin
// Extended-A counts 0.
int64_t textAdvance(const char* bytes, size_t length);

// The width of the text as the window draws it, in pixels.
int32_t textPixels(const char* bytes, size_t length);

// The width of a question line and of the answer area, in pixels.
int32_t questionLinePixels();
int32_t answerAreaWidthPixels();

// True when the window cuts the question off: drawn on its one line (285
// dialog units, no wrap), it is wider than the line.
bool questionOverflows(const char* bytes, size_t length);

// How the answer falls in its area (285 dialog units wide), wrapped as the
// platform's control wraps it (word_wrap.h).
struct AnswerLayout {
    // The last line that holds text; empty lines after it show nothing.
    int32_t lines;
    // A word wider than a line, which the window cuts off at the right edge.
    bool wordTooWide;
};
AnswerLayout layAnswerOut(const char* bytes, size_t length);

// The lines the answer area (80 dialog units high) shows whole.
int32_t answerLinesShown();

// True when the window cuts the answer off: wrapped, it needs more lines than
// its area (80 dialog units high) shows whole, or a word is wider than a line.
bool answerOverflows(const char* bytes, size_t length);

} // namespace kestrine
