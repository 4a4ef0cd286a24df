// The conversation window's behaviour, independent of any toolkit.
#include "player/player_dialog.h"

#include "window/dialog_templates.h"
#include "window/load_error_text.h"

#include "files/regular_file_source.h"
#include "murmex/load_script.h"
#include "murmex/script_text.h"

#include <cstring>

namespace kestrine {

namespace {
constexpr int32_t QUESTION_CONTROL_IDS[murmex::MAX_QUESTIONS] = {
    CONTROL_QUESTION_0, CONTROL_QUESTION_1, CONTROL_QUESTION_2, CONTROL_QUESTION_3,
    CONTROL_QUESTION_4};

} // namespace

PlayerDialog::PlayerDialog(DialogPlatform& platform, const char* scriptFileName)
    : platform(platform), flow(engine, view), scriptFileName(scriptFileName) {
    for (int32_t i = 0; i < murmex::MAX_QUESTIONS; ++i) {
        questionControlIds[i] = QUESTION_CONTROL_IDS[i];
    }
}

bool PlayerDialog::initialise() {
    const char* entry = platform.loadString(ABOUT_ENTRY_STRING_ID);
    if (entry != nullptr && entry[0] != 0) {
        platform.addCommandEntry(entry, ABOUT_COMMAND);
    }
    // Opened only as a regular file: a FIFO or device in the script's place
    // can't hold the window before it ever shows.
    murmex::RegularFileSource source(scriptFileName);
    const int32_t loaded = murmex::loadScriptFrom(engine, source).code;
    if (loaded < 0) {
        reportFailure(loadErrorText(loaded, engine.line, engine.errorMessage).c_str());
    } else if (!flow.startGame()) {
        reportFailure(engine.errorMessage);
    } else {
        refreshTexts();
    }

    // This runs after a failure too; the pending quit then closes the window unused.
    applyHeader(engine);
    return true;
}

void PlayerDialog::applyHeader(const murmex::ConversationEngine& shown) {
    platform.setCaption(shown.title);
    colors = DerivedColors::from(shown.color, shown.textColor);
    windowBrush = colors.windowColor;
    lineBrush = colors.lineColor;
}

void PlayerDialog::mouseMoved() {
    const ScreenPoint pointer = platform.cursorPosition();
    const int32_t previous = hoveredQuestion;
    hoveredQuestion = -1;
    // All five are tested; a later match replaces an earlier one.
    for (int32_t i = 0; i < murmex::MAX_QUESTIONS; ++i) {
        if (platform.controlRect(questionControlIds[i]).contains(pointer)) {
            hoveredQuestion = i;
        }
    }
    if (hoveredQuestion != previous) {
        platform.invalidate();
    }
}

void PlayerDialog::leftButtonReleased() {
    chooseLine(hoveredQuestion);
}

bool PlayerDialog::chooseLine(int32_t line) {
    if (line < 0 || line >= view.questionCount) {
        return false;
    }
    if (choiceHandler) {
        return choiceHandler(line);
    }
    if (flow.choose(line).kind == murmex::StepKind::Failed) {
        // The controls keep the texts they showed.
        reportFailure(engine.errorMessage);
        return true;
    }
    refreshTexts();
    return true;
}

bool PlayerDialog::chooseMnemonic(char32_t letter) {
    if (letter == 0) {
        return false;
    }
    for (int32_t i = 0; i < view.questionCount; ++i) {
        if (foldMnemonicCase(mnemonicLetter(view.questions[i])) == foldMnemonicCase(letter)) {
            return chooseLine(i);
        }
    }
    return false;
}

bool PlayerDialog::moveHighlight(int32_t step) {
    if (view.questionCount == 0) {
        return false;
    }
    const int32_t last = view.questionCount - 1;
    int32_t next = step > 0 ? 0 : last;
    if (hoveredQuestion >= 0 && hoveredQuestion <= last) {
        next = hoveredQuestion + (step > 0 ? 1 : -1);
        next = next < 0 ? 0 : next > last ? last : next;
    }
    if (next != hoveredQuestion) {
        hoveredQuestion = next;
        platform.invalidate();
    }
    return true;
}

bool PlayerDialog::applyHighlighted() {
    return chooseLine(hoveredQuestion);
}

bool PlayerDialog::pressKey(WindowKey key) {
    switch (key) {
    case WindowKey::Line1:
    case WindowKey::Line2:
    case WindowKey::Line3:
    case WindowKey::Line4:
    case WindowKey::Line5:
        return chooseLine(lineOfKey(key));
    case WindowKey::Up:
        return moveHighlight(-1);
    case WindowKey::Down:
        return moveHighlight(1);
    case WindowKey::Space:
        // With nothing highlighted, Space presses the focused button as before.
        return applyHighlighted();
    case WindowKey::Enter:
        return true;
    case WindowKey::Other:
        break;
    }
    return false;
}

char32_t PlayerDialog::foldMnemonicCase(char32_t letter) {
    return murmex::foldMnemonicCase(letter);
}

char32_t PlayerDialog::mnemonicLetter(const char* text) {
    return text == nullptr ? 0 : murmex::mnemonicOf(text, std::strlen(text));
}

void PlayerDialog::refreshTexts() {
    platform.setControlText(CONTROL_ANSWER, view.answer != nullptr ? view.answer : "");
    for (int32_t i = 0; i < murmex::MAX_QUESTIONS; ++i) {
        platform.setControlText(questionControlIds[i],
                                i < view.questionCount ? view.questions[i] : "");
    }
}

ControlColors PlayerDialog::controlColors(int32_t controlId, int32_t controlType) const {
    ControlColors result;
    result.text = colors.questionTextColor;
    result.textBackground = colors.lineColor;
    for (int32_t i = 0; i < murmex::MAX_QUESTIONS; ++i) {
        if (controlId == questionControlIds[i] && hoveredQuestion == i) {
            result.text = colors.hoverTextColor;
        }
    }
    if (controlId == CONTROL_ANSWER) {
        result.text = colors.answerTextColor;
    }
    result.brush = controlType == CTLCOLOR_STATIC ? lineBrush : windowBrush;
    return result;
}

bool PlayerDialog::systemCommand(uint32_t commandId) {
    if ((commandId & SYSTEM_COMMAND_MASK) != ABOUT_COMMAND) {
        return false;
    }
    platform.runAboutBox();
    return true;
}

std::string PlayerDialog::loadErrorText(int32_t code, int32_t line, const char* message) {
    return kestrine::loadErrorText(code, line, message);
}

void PlayerDialog::reportFailure(const char* text) {
    platform.showMessage(text);
    platform.postQuit(FAILURE_EXIT_CODE);
}

} // namespace kestrine
