// Layout of DLGTEMPLATEEX and DLGITEMTEMPLATEEX, written word by word.
#include "player/win32/dialog_template_bytes.h"

#include <cstdlib>

namespace kestrine::win32 {

namespace {
// Classes of the predefined controls, given as ordinals after 0xFFFF.
constexpr WORD BUTTON_CLASS = 0x0080;
constexpr WORD STATIC_CLASS = 0x0082;

constexpr DWORD DIALOG_STYLE =
    DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DWORD controlStyle(const ControlTemplate& control) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (control.style & STYLE_TAB_STOP) {
        style |= WS_TABSTOP;
    }
    if (control.style & STYLE_GROUP) {
        style |= WS_GROUP;
    }
    switch (control.kind) {
    case ControlKind::PushButton:
        return style | ((control.style & STYLE_DEFAULT_BUTTON) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case ControlKind::StaticIcon:
        return style | SS_ICON;
    case ControlKind::StaticText:
        break;
    }
    // No SS_NOTIFY: the statics let the pointer's messages through to the
    // dialog, where hover and clicks are handled.
    style |= SS_LEFT;
    if (control.style & STYLE_CENTER_VERTICALLY) {
        style |= SS_CENTERIMAGE;
    }
    if (control.style & STYLE_NO_PREFIX) {
        style |= SS_NOPREFIX;
    }
    return style;
}
} // namespace

DialogTemplateBytes::DialogTemplateBytes(const DialogTemplate& dialogTemplate) {
    add(1);      // version
    add(0xFFFF); // marks the extended form
    addDword(0); // help identifier
    addDword(0); // extended style
    addDword(DIALOG_STYLE);
    add(static_cast<WORD>(dialogTemplate.controlCount));
    add(static_cast<WORD>(dialogTemplate.x));
    add(static_cast<WORD>(dialogTemplate.y));
    add(static_cast<WORD>(dialogTemplate.width));
    add(static_cast<WORD>(dialogTemplate.height));
    add(0); // no menu
    add(0); // the standard dialog class
    addText(dialogTemplate.caption);
    add(static_cast<WORD>(dialogTemplate.fontPointSize));
    add(FW_NORMAL);
    add(MAKEWORD(FALSE, DEFAULT_CHARSET)); // not italic, any character set
    addText(dialogTemplate.fontName);
    for (int32_t i = 0; i < dialogTemplate.controlCount; ++i) {
        addControl(dialogTemplate.controls[i]);
    }
}

void DialogTemplateBytes::addDword(DWORD value) {
    add(LOWORD(value));
    add(HIWORD(value));
}

void DialogTemplateBytes::addText(const char* text) {
    // Template texts are ASCII.
    for (const char* c = text; *c != 0; ++c) {
        add(static_cast<unsigned char>(*c));
    }
    add(0);
}

void DialogTemplateBytes::alignToDword() {
    if (words.size() % 2 != 0) {
        add(0);
    }
}

void DialogTemplateBytes::addControl(const ControlTemplate& control) {
    alignToDword();
    addDword(0); // help identifier
    addDword(0); // extended style
    addDword(controlStyle(control));
    add(static_cast<WORD>(control.x));
    add(static_cast<WORD>(control.y));
    add(static_cast<WORD>(control.width));
    add(static_cast<WORD>(control.height));
    addDword(static_cast<DWORD>(control.id));
    add(0xFFFF);
    add(control.kind == ControlKind::PushButton ? BUTTON_CLASS : STATIC_CLASS);
    if (control.kind == ControlKind::StaticIcon) {
        // The icon's resource identifier, as an ordinal.
        add(0xFFFF);
        add(static_cast<WORD>(std::atoi(control.text)));
    } else {
        addText(control.text);
    }
    add(0); // no creation data
}

} // namespace kestrine::win32
