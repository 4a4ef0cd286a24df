// The Kestrine player on Windows: reads data.chr from the working folder and
// plays it in the conversation window until the window is closed.
#include "player/player_app.h"
#include "player/win32/player_window.h"

#include <windows.h>

int main(int argc, char** argv) {
    kestrine::win32::PlayerWindow window(::GetModuleHandleW(nullptr));
    if (kestrine::selectsPlainScripts(kestrine::commandLineTail(argc, argv))) {
        window.logic().engine.disableDescramble();
    }
    return window.run();
}
