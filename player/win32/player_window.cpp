// The conversation window's Win32 side.
#include "player/win32/player_window.h"

#include "player/win32/about_box.h"
#include "player/win32/dialog_template_bytes.h"
#include "player/win32/text_font.h"
#include "player/win32/utf16.h"
#include "window/dialog_templates.h"
#include "window/text_font.h"

namespace kestrine::win32 {

namespace {
// The window whose keys the filter plays; one player window runs at a time.
PlayerWindow* keyTarget = nullptr;

// The keys the window plays, by their virtual-key codes.
WindowKey windowKeyOf(WPARAM key) {
    if (key >= '1' && key <= '5') {
        return keyOfLine(static_cast<int32_t>(key - '1'));
    }
    switch (key) {
    case VK_UP:
        return WindowKey::Up;
    case VK_DOWN:
        return WindowKey::Down;
    case VK_SPACE:
        return WindowKey::Space;
    case VK_RETURN:
        return WindowKey::Enter;
    default:
        return WindowKey::Other;
    }
}

HICON loadIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(ICON_ID), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
} // namespace

std::wstring applicationName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        name.erase(0, slash + 1);
    }
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

PlayerWindow::PlayerWindow(HINSTANCE instance) : instance(instance), dialog(*this) {
}

PlayerWindow::~PlayerWindow() {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(textFont), static_cast<HGDIOBJ>(windowBrush),
                           static_cast<HGDIOBJ>(lineBrush)}) {
        if (object != nullptr) {
            ::DeleteObject(object);
        }
    }
}

int PlayerWindow::run() {
    const DialogTemplateBytes bytes(conversationDialogTemplate());
    // The dialog's own loop runs the keys through the filter before the
    // dialog manager turns them into focus moves and button presses.
    keyTarget = this;
    keyHook = ::SetWindowsHookExW(WH_MSGFILTER, keyFilter, nullptr, ::GetCurrentThreadId());
    ::DialogBoxIndirectParamW(instance, bytes.get(), nullptr, procedure,
                              reinterpret_cast<LPARAM>(this));
    if (keyHook != nullptr) {
        ::UnhookWindowsHookEx(keyHook);
    }
    keyTarget = nullptr;
    return requestedExitCode;
}

INT_PTR CALLBACK PlayerWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<PlayerWindow*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        self->window = window;
    }
    auto* self = reinterpret_cast<PlayerWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self == nullptr ? FALSE : self->handle(message, wParam, lParam);
}

INT_PTR PlayerWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise();
        return TRUE;
    case WM_MOUSEMOVE:
        dialog.mouseMoved();
        return TRUE;
    case WM_LBUTTONUP:
        dialog.leftButtonReleased();
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int32_t id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        const ControlColors colors = dialog.controlColors(id, CTLCOLOR_STATIC);
        auto* context = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(context, colors.text);
        ::SetBkColor(context, colors.textBackground);
        return reinterpret_cast<INT_PTR>(brushFor(colors.brush));
    }
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(windowBrush);
    case WM_SYSCOMMAND:
        // Handled commands are taken; the rest go to the default processing.
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        return dialog.systemCommand(static_cast<uint32_t>(wParam)) ? TRUE : FALSE;
    case WM_COMMAND:
        // Only the cancel command ("Koniec", Escape, the close box) ends the run;
        // the OK command (Enter) does nothing.
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(window, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void PlayerWindow::initialise() {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loadIcon(instance, 32)));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(loadIcon(instance, 16)));
    textFont = createTextFont();
    dialog.initialise();
    windowBrush = ::CreateSolidBrush(dialog.windowBrush);
    lineBrush = ::CreateSolidBrush(dialog.lineBrush);
    ::SendDlgItemMessageW(window, CONTROL_ANSWER, WM_SETFONT, reinterpret_cast<WPARAM>(textFont),
                          FALSE);
    for (const int32_t id : dialog.questionControlIds) {
        ::SendDlgItemMessageW(window, id, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), FALSE);
    }
}

HBRUSH PlayerWindow::brushFor(ColorValue color) const {
    return color == dialog.lineBrush ? lineBrush : windowBrush;
}

LRESULT CALLBACK PlayerWindow::keyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && keyTarget != nullptr && keyTarget->window != nullptr &&
        ::GetAncestor(message->hwnd, GA_ROOT) == keyTarget->window &&
        keyTarget->playKey(*message)) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool PlayerWindow::playKey(const MSG& message) {
    const WPARAM key = message.wParam;
    if (message.message == WM_KEYDOWN) {
        return dialog.pressKey(windowKeyOf(key));
    }
    if (message.message == WM_CHAR || message.message == WM_SYSCHAR) {
        // A letter, with or without Alt; Alt+Space still opens the system menu.
        const auto letter = static_cast<wchar_t>(key);
        return ::IsCharAlphaNumericW(letter) && dialog.chooseMnemonic(letter);
    }
    return false;
}

const char* PlayerWindow::loadString(int32_t id) {
    return loadResourceString(id);
}

void PlayerWindow::addCommandEntry(const char* text, int32_t commandId) {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), asciiToUtf16(text).c_str());
}

void PlayerWindow::setControlText(int32_t controlId, const char* text) {
    ::SetDlgItemTextW(window, controlId, scriptTextToUtf16(text).c_str());
}

void PlayerWindow::setCaption(const char* text) {
    ::SetWindowTextW(window, scriptTextToUtf16(text).c_str());
}

ScreenPoint PlayerWindow::cursorPosition() {
    // Where the pointer was when the message being handled was posted.
    const DWORD position = ::GetMessagePos();
    return ScreenPoint{static_cast<int16_t>(LOWORD(position)),
                       static_cast<int16_t>(HIWORD(position))};
}

ScreenRect PlayerWindow::controlRect(int32_t controlId) {
    RECT rect{};
    if (!::GetWindowRect(::GetDlgItem(window, controlId), &rect)) {
        return ScreenRect{};
    }
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

void PlayerWindow::invalidate() {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void PlayerWindow::showMessage(const char* text) {
    ::MessageBoxW(window, scriptTextToUtf16(text).c_str(), applicationName().c_str(), MB_OK);
}

void PlayerWindow::postQuit(int32_t exitCode) {
    requestedExitCode = exitCode;
    // Ends the modal loop when it next looks, also from WM_INITDIALOG, before
    // the window ever shows.
    ::EndDialog(window, exitCode);
}

void PlayerWindow::runAboutBox() {
    runAbout(instance, window);
}

} // namespace kestrine::win32
