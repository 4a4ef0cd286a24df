// The conversation window's logic: loading the script, starting "Intro",
// hover tracking, applying the clicked question, keyboard play, the texts and
// colours of the controls and the About command. It reaches the screen only through a
// DialogPlatform and holds no toolkit type.
#pragma once

#include "murmex/conversation_engine.h"
#include "murmex/conversation_flow.h"
#include "player/dialog_platform.h"
#include "window/derived_colors.h"
#include "window/window_keys.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kestrine {

// Command identifier of the About entry.
constexpr int32_t ABOUT_COMMAND = 16;
// The platform keeps the low four bits of a system command for its own use.
constexpr uint32_t SYSTEM_COMMAND_MASK = 0xFFF0;
// Control-type code of static text controls in a control-colour request.
constexpr int32_t CTLCOLOR_STATIC = 6;
// Exit status requested after any failure.
constexpr int32_t FAILURE_EXIT_CODE = -1;
// The script every game plays, looked up in the working folder.
constexpr const char* SCRIPT_FILE_NAME = "data.chr";

// What a control is drawn with: text colour, the text's background colour,
// and the colour of the brush that fills the control.
struct ControlColors {
    ColorValue text = 0;
    ColorValue textBackground = 0;
    ColorValue brush = 0;
};

class PlayerDialog {
  public:
    explicit PlayerDialog(DialogPlatform& platform, const char* scriptFileName = SCRIPT_FILE_NAME);
    PlayerDialog(const PlayerDialog&) = delete;
    PlayerDialog& operator=(const PlayerDialog&) = delete;

    // Sets the window up and loads the script; after a failure it has shown
    // the message and asked to quit, and still sets caption and colours.
    // Returns true: the focus goes to the first tab stop.
    bool initialise();

    // The pointer moved over the window itself.
    void mouseMoved();
    // The left button was released over the window itself.
    void leftButtonReleased();

    // Keyboard play, beside the mouse. Each returns true when it used the key,
    // so that a backend can pass an unused key on to the focused control.
    // The digit keys: applies the question on line 0 to 4 when one is offered there.
    bool chooseLine(int32_t line);
    // A mnemonic key, with or without Alt: applies the first offered question
    // whose marked letter (the one after a lone '&') is `letter` in either case.
    bool chooseMnemonic(char32_t letter);
    // Up (-1) and Down (+1): moves the highlight, the hovered look, to the
    // previous or next offered question, staying at the first and the last.
    bool moveHighlight(int32_t step);
    // Space: applies the highlighted question, as releasing the button over it does.
    bool applyHighlighted();
    // A key as the backend maps it: the digits choose a line, Up and Down
    // move the highlight, Space applies it, and Enter is taken without doing
    // anything, so that it can't press the focused button.
    bool pressKey(WindowKey key);
    // The marked letter of a script text as a code point; 0 when it has none.
    static char32_t mnemonicLetter(const char* text);
    // Upper case for the letters of ASCII and Latin-1, the ones a key
    // reports; mnemonics match in this form.
    static char32_t foldMnemonicCase(char32_t letter);

    // Copies the view's answer and questions into the controls.
    void refreshTexts();
    // Takes the caption and the colours from a loaded script's header.
    void applyHeader(const murmex::ConversationEngine& shown);
    // Colours for drawing the control; controlType is the control-colour code.
    ControlColors controlColors(int32_t controlId, int32_t controlType) const;
    // A command from the window's command menu. True when it was the About
    // command and has been handled; false when default processing should run.
    bool systemCommand(uint32_t commandId);

    // The message shown when the script does not load.
    static std::string loadErrorText(int32_t code, int32_t line, const char* message);

    // The script and the game state, for the whole run.
    murmex::ConversationEngine engine;
    // What the engine last produced.
    murmex::ConversationView view;
    // Position 0 to 4 of the question line under the pointer; -1 for none.
    int32_t hoveredQuestion = -1;
    // Question lines from top to bottom.
    int32_t questionControlIds[murmex::MAX_QUESTIONS] = {};
    // Derived from the header once the script has been read.
    DerivedColors colors;
    // Colours of the window's two solid brushes.
    ColorValue windowBrush = 0;
    ColorValue lineBrush = 0;
    // When set, an offered line that is chosen (by the pointer, a key or the
    // accessible view) goes here instead of into the dialog's own game, for
    // a host that plays the conversation itself. Returns whether it was used.
    std::function<bool(int32_t line)> choiceHandler;

  private:
    // Shows the engine's error text and asks to quit.
    void reportFailure(const char* text);

    DialogPlatform& platform;
    murmex::ConversationFlow flow;
    const char* scriptFileName;
};

} // namespace kestrine
