// The conversation window on Win32: a modal dialog built from the
// conversation template whose dialog procedure hands every event to the
// portable PlayerDialog and carries out what it asks of the screen.
#pragma once

#include "player/player_dialog.h"

#include <windows.h>

#include <string>

namespace kestrine::win32 {

class PlayerWindow final : public DialogPlatform {
  public:
    explicit PlayerWindow(HINSTANCE instance);
    ~PlayerWindow() override;
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    PlayerDialog& logic() { return dialog; }

    // Runs the window modally; returns the exit status the run asked for:
    // 0, or the code of a quit request.
    int run();

    // DialogPlatform
    const char* loadString(int32_t id) override;
    void addCommandEntry(const char* text, int32_t commandId) override;
    void setControlText(int32_t controlId, const char* text) override;
    void setCaption(const char* text) override;
    ScreenPoint cursorPosition() override;
    ScreenRect controlRect(int32_t controlId) override;
    void invalidate() override;
    void showMessage(const char* text) override;
    void postQuit(int32_t exitCode) override;
    void runAboutBox() override;

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK keyFilter(int code, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    // Keyboard play; true when the key was used.
    bool playKey(const MSG& message);
    HBRUSH brushFor(ColorValue color) const;

    HINSTANCE instance;
    HWND window = nullptr;
    PlayerDialog dialog;
    HFONT textFont = nullptr;
    HBRUSH windowBrush = nullptr;
    HBRUSH lineBrush = nullptr;
    HHOOK keyHook = nullptr;
    int requestedExitCode = 0;
};

// The program's name: the executable's file name without its extension.
std::wstring applicationName();

} // namespace kestrine::win32
