// The window's text font from TEXT_FONT: a positive height asks for the cell.
#include "player/win32/text_font.h"

#include "player/win32/utf16.h"
#include "window/text_font.h"

namespace kestrine::win32 {

HFONT createTextFont() {
    return ::CreateFontW(TEXT_FONT.cellHeight, 0, 0, 0, TEXT_FONT.weight, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH, asciiToUtf16(TEXT_FONT.face).c_str());
}

} // namespace kestrine::win32
