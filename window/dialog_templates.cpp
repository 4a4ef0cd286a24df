// Contents of the dialog templates and the string table.
#include "window/dialog_templates.h"

namespace kestrine {

namespace {

constexpr ControlTemplate CONVERSATION_CONTROLS[] = {
    {CONTROL_CANCEL, ControlKind::PushButton, "Koniec", 240, 165, 50, 14, STYLE_TAB_STOP},
    {CONTROL_ANSWER, ControlKind::StaticText, "Out", 5, 5, 285, 80, STYLE_WORD_WRAP},
    {CONTROL_QUESTION_0, ControlKind::StaticText, "In 0", 5, 90, 285, 10, STYLE_CENTER_VERTICALLY},
    {CONTROL_QUESTION_1, ControlKind::StaticText, "In 1", 5, 106, 285, 10, STYLE_CENTER_VERTICALLY},
    {CONTROL_QUESTION_2, ControlKind::StaticText, "In 2", 5, 120, 285, 10, STYLE_CENTER_VERTICALLY},
    {CONTROL_QUESTION_3, ControlKind::StaticText, "In 3", 5, 135, 285, 10, STYLE_CENTER_VERTICALLY},
    {CONTROL_QUESTION_4, ControlKind::StaticText, "In 4", 5, 150, 285, 10, STYLE_CENTER_VERTICALLY},
};

constexpr ControlTemplate ABOUT_CONTROLS[] = {
    {CONTROL_UNNAMED, ControlKind::StaticIcon, "128", 11, 17, 20, 20, STYLE_NONE},
    {CONTROL_UNNAMED, ControlKind::StaticText, "Kestrine Version 1.0", 40, 10, 119, 8,
     STYLE_WORD_WRAP | STYLE_NO_PREFIX | STYLE_GROUP},
    {CONTROL_UNNAMED, ControlKind::StaticText, "Murmex conversation player", 40, 25, 119, 8,
     STYLE_WORD_WRAP | STYLE_GROUP},
    {CONTROL_OK, ControlKind::PushButton, "OK", 178, 7, 50, 14,
     STYLE_DEFAULT_BUTTON | STYLE_TAB_STOP | STYLE_GROUP},
    {CONTROL_UNNAMED, ControlKind::StaticText,
     "Plays data.chr from the working folder.\nPoint at a question and click to ask it.\n"
     "Start with -nd to read a plain script.",
     40, 40, 190, 35, STYLE_WORD_WRAP | STYLE_GROUP},
};

constexpr DialogTemplate CONVERSATION_DIALOG = {
    CONVERSATION_DIALOG_ID,
    "Kestrine 1.0",
    0,
    0,
    297,
    186,
    "MS Sans Serif",
    8,
    CONVERSATION_CONTROLS,
    sizeof(CONVERSATION_CONTROLS) / sizeof(CONVERSATION_CONTROLS[0]),
};

constexpr DialogTemplate ABOUT_DIALOG = {
    ABOUT_DIALOG_ID,
    "About Kestrine",
    0,
    0,
    235,
    81,
    "MS Sans Serif",
    8,
    ABOUT_CONTROLS,
    sizeof(ABOUT_CONTROLS) / sizeof(ABOUT_CONTROLS[0]),
};

} // namespace

const DialogTemplate& conversationDialogTemplate() {
    return CONVERSATION_DIALOG;
}

const DialogTemplate& aboutDialogTemplate() {
    return ABOUT_DIALOG;
}

const char* loadResourceString(int32_t id) {
    if (id == ABOUT_ENTRY_STRING_ID) {
        return "&About Kestrine...";
    }
    return "";
}

} // namespace kestrine
