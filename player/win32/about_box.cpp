// The About box's dialog procedure: OK and Escape close it.
#include "player/win32/about_box.h"

#include "player/win32/dialog_template_bytes.h"
#include "window/dialog_templates.h"

namespace kestrine::win32 {

namespace {
INT_PTR CALLBACK aboutProcedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(box, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
} // namespace

void runAbout(HINSTANCE instance, HWND owner) {
    const DialogTemplateBytes bytes(aboutDialogTemplate());
    ::DialogBoxIndirectParamW(instance, bytes.get(), owner, aboutProcedure, 0);
}

} // namespace kestrine::win32
