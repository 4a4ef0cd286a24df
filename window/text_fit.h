// How much text the window's answer area and question lines show. The window
// draws them in TEXT_FONT; the measure uses the advance widths of Liberation
// Sans Bold, which has the same widths as the face asked for, and the window's
// conversion of dialog units at 96 DPI. Mnemonic markers are not drawn and
// are not measured.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrine {

// The width of the text as drawn, in font units (UNITS_PER_EM to the em).
// The bytes are decoded as the window decodes them: UTF-8 when the whole
// text is, else Windows-1252. A character outside Windows-1252 counts 0.
int64_t textAdvance(const char* bytes, size_t length);

// The width of the text in the window's font, in horizontal dialog units.
double textWidthInDialogUnits(const char* bytes, size_t length);

// The least width in pixels that any rasteriser draws the text in: the
// face's size rounded down to whole pixels per em, and each advance rounded
// down to whole pixels.
int32_t leastTextPixels(const char* bytes, size_t length);

// True when the question certainly does not fit its line (285 dialog units,
// one line, no wrap): even its least width is wider.
bool questionSurelyOverflows(const char* bytes, size_t length);

// True when the answer certainly does not fit its area (285 x 80 dialog
// units, word-wrapped): wrapped at its least widths, it still needs more lines
// than the least line height lets the area hold, or one of its words is
// wider than a line.
bool answerSurelyOverflows(const char* bytes, size_t length);

} // namespace kestrine
