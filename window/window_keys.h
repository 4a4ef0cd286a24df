// The keys that play the window, as each backend reports them: the backends
// map their own key codes to these, and the window's logic decides what each
// one does. Letters that choose a question by its mnemonic are passed on as
// code points instead.
#pragma once

#include <cstdint>

namespace kestrine {

enum class WindowKey : uint8_t {
    Other, // any key the window does not play
    Line1, // the digits 1 to 5 choose the question on that line
    Line2,
    Line3,
    Line4,
    Line5,
    Up,    // moves the highlight to the previous offered question
    Down,  // moves the highlight to the next offered question
    Space, // applies the highlighted question
    Enter, // the OK command: does nothing, and is taken so no button sees it
};

// The line a digit key chooses, 0 to 4; -1 for any other key.
constexpr int32_t lineOfKey(WindowKey key) {
    return key >= WindowKey::Line1 && key <= WindowKey::Line5
               ? static_cast<int32_t>(key) - static_cast<int32_t>(WindowKey::Line1)
               : -1;
}

// The digit key that chooses line 0 to 4.
constexpr WindowKey keyOfLine(int32_t line) {
    return static_cast<WindowKey>(static_cast<int32_t>(WindowKey::Line1) + line);
}

} // namespace kestrine
