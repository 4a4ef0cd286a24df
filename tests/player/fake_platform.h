// A DialogPlatform that records what the window logic asks of the screen, and
// answers pointer and rectangle questions from what the test sets up.
#pragma once

#include "player/dialog_platform.h"
#include "window/dialog_templates.h"

#include <map>
#include <string>
#include <vector>

namespace kestrine::testing {

class FakePlatform : public DialogPlatform {
  public:
    FakePlatform() {
        // The question lines as the template places them, 10 pixels high, with
        // gaps between them.
        const int32_t tops[] = {90, 106, 120, 135, 150};
        const int32_t ids[] = {CONTROL_QUESTION_0, CONTROL_QUESTION_1, CONTROL_QUESTION_2,
                               CONTROL_QUESTION_3, CONTROL_QUESTION_4};
        for (int i = 0; i < 5; ++i) {
            rects[ids[i]] = ScreenRect{5, tops[i], 290, tops[i] + 10};
        }
    }

    const char* loadString(int32_t id) override {
        return id == ABOUT_ENTRY_STRING_ID ? aboutEntryText.c_str() : "";
    }
    void addCommandEntry(const char* text, int32_t commandId) override {
        commandEntries.emplace_back(text, commandId);
    }
    void setControlText(int32_t controlId, const char* text) override { texts[controlId] = text; }
    void setCaption(const char* text) override { caption = text; }
    ScreenPoint cursorPosition() override { return pointer; }
    ScreenRect controlRect(int32_t controlId) override { return rects[controlId]; }
    void invalidate() override { ++invalidations; }
    void showMessage(const char* text) override { messages.emplace_back(text); }
    void postQuit(int32_t exitCode) override { quitCodes.push_back(exitCode); }
    void runAboutBox() override { ++aboutBoxes; }

    std::string aboutEntryText = "&About Kestrine...";
    ScreenPoint pointer;
    std::map<int32_t, ScreenRect> rects;

    std::vector<std::pair<std::string, int32_t>> commandEntries;
    std::map<int32_t, std::string> texts;
    std::string caption;
    int invalidations = 0;
    std::vector<std::string> messages;
    std::vector<int32_t> quitCodes;
    int aboutBoxes = 0;
};

} // namespace kestrine::testing
