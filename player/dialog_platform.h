// What the conversation window's logic needs from the screen. A backend (the
// Qt one, or a fake in the tests) implements it; the logic holds no toolkit type.
#pragma once

#include <cstdint>

namespace kestrine {

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A rectangle in screen pixels whose left and top edges are inside and whose
// right and bottom edges are outside.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool contains(ScreenPoint point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
};

class DialogPlatform {
  public:
    virtual ~DialogPlatform() = default;

    // Text of a string resource; empty when there is none.
    virtual const char* loadString(int32_t id) = 0;
    // Adds a separator and a command entry to the window's command menu; does
    // nothing where the window has no such menu.
    virtual void addCommandEntry(const char* text, int32_t commandId) = 0;

    virtual void setControlText(int32_t controlId, const char* text) = 0;
    virtual void setCaption(const char* text) = 0;

    // Pointer position and a control's rectangle, both in screen pixels.
    virtual ScreenPoint cursorPosition() = 0;
    virtual ScreenRect controlRect(int32_t controlId) = 0;
    // Asks for the whole window, controls included, to be repainted.
    virtual void invalidate() = 0;

    // A modal message box owned by the window: the application name as caption,
    // the text, an OK button only, no icon. Returns when it is dismissed.
    virtual void showMessage(const char* text) = 0;
    // Ends the modal run as soon as the event loop gets to it; the process then
    // exits with exitCode.
    virtual void postQuit(int32_t exitCode) = 0;

    // Runs the About box modally.
    virtual void runAboutBox() = 0;
};

} // namespace kestrine
