// The font the window's answer and question lines are drawn in, as the
// platform makes it from the request both backends share.
#pragma once

#include <windows.h>

namespace kestrine::win32 {

// A new font; the caller deletes it with DeleteObject.
HFONT createTextFont();

} // namespace kestrine::win32
