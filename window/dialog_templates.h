// The window resources as data: the dialog templates of the conversation
// window and the About box, in dialog units, and the string table.
#pragma once

#include <cstdint>

namespace kestrine {

// Resource identifiers.
constexpr int32_t ABOUT_DIALOG_ID = 100;
constexpr int32_t ABOUT_ENTRY_STRING_ID = 101;
constexpr int32_t CONVERSATION_DIALOG_ID = 102;
constexpr int32_t ICON_ID = 128;

// Control identifiers of the conversation window.
constexpr int32_t CONTROL_OK = 1;
constexpr int32_t CONTROL_CANCEL = 2;
constexpr int32_t CONTROL_ANSWER = 1001;
constexpr int32_t CONTROL_QUESTION_0 = 1002;
constexpr int32_t CONTROL_QUESTION_1 = 1008;
constexpr int32_t CONTROL_QUESTION_2 = 1009;
constexpr int32_t CONTROL_QUESTION_3 = 1010;
constexpr int32_t CONTROL_QUESTION_4 = 1011;
// Controls that nobody addresses by identifier.
constexpr int32_t CONTROL_UNNAMED = -1;

enum class ControlKind { PushButton, StaticText, StaticIcon };

// Style bits of a control, as far as they change what a backend draws or does.
enum ControlStyle : uint32_t {
    STYLE_NONE = 0,
    STYLE_WORD_WRAP = 1u << 0,         // text wraps at the right edge
    STYLE_CENTER_VERTICALLY = 1u << 1, // single line, centred between top and bottom
    STYLE_NO_PREFIX = 1u << 2,         // an ampersand is shown, not taken as a mnemonic
    STYLE_DEFAULT_BUTTON = 1u << 3,    // the Enter key presses it
    STYLE_TAB_STOP = 1u << 4,          // takes the keyboard focus with Tab
    STYLE_GROUP = 1u << 5,             // starts a group of controls
};

struct ControlTemplate {
    int32_t id;
    ControlKind kind;
    // Text, or for an icon control the identifier of the icon as text.
    const char* text;
    // Placement in dialog units, relative to the client area.
    int32_t x, y, width, height;
    uint32_t style;
};

struct DialogTemplate {
    int32_t id;
    const char* caption;
    // Placement and size in dialog units; the framework centres the window.
    int32_t x, y, width, height;
    const char* fontName;
    int32_t fontPointSize;
    const ControlTemplate* controls;
    int32_t controlCount;
};

// The conversation window: the answer area, five question lines and "Koniec".
const DialogTemplate& conversationDialogTemplate();
// The About box.
const DialogTemplate& aboutDialogTemplate();

// Text of a string resource; the empty text for an identifier with none.
const char* loadResourceString(int32_t id);

} // namespace kestrine
