// The About box on Win32, built from the About template.
#pragma once

#include <windows.h>

namespace kestrine::win32 {

// Runs the About box modally over `owner` until OK or Escape closes it.
void runAbout(HINSTANCE instance, HWND owner);

} // namespace kestrine::win32
