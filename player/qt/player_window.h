// The conversation window on Qt: a dialog built from the conversation
// template that hands every event to the portable PlayerDialog and carries out
// what it asks of the screen.
#pragma once

#include "player/player_dialog.h"
#include "player/qt/template_dialog.h"

#include <QPoint>
#include <QString>

#include <utility>
#include <vector>

namespace kestrine::qt {

class PlayerWindow : public TemplateDialog, public DialogPlatform {
  public:
    explicit PlayerWindow(const char* scriptFileName = SCRIPT_FILE_NAME);

    PlayerDialog& logic() { return dialog; }

    // Initialises the window (loading the script) and runs it modally.
    // Returns the exit status the run asked for: 0, or the code of a quit request.
    int run();
    // Ends the run as asked from outside the player: closes the context menu
    // and any box that is open, from the top down, then the window. The run
    // ends with the status it would have had: 0, or the failure status when
    // an error box was up, whose dismissal asks for it. No box opens after this.
    void endRun();
    // The initialisation alone, for a caller that runs the window itself.
    void initialise();
    // Colours and fonts from the logic's header colours, as initialise() leaves them.
    void applyColorsAndFonts();
    int exitCode() const { return requestedExitCode; }

    // The window's command menu entries, as the context menu shows them.
    const std::vector<std::pair<QString, int32_t>>& commandEntries() const { return entries; }

    // The OK command does nothing; only the cancel command closes the window.
    void accept() override {}

    // For the accessible view: the question line (0 to 4) a control shows,
    // -1 for any other control.
    int32_t questionLine(const QObject* control) const;
    // Applies the question on a line as a click does, once the event loop gets
    // to it, so that a box it opens does not hold up the caller.
    void chooseLineLater(int32_t line);

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

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Keyboard play; true when the key chose or highlighted a question.
    bool playKey(const QKeyEvent& event);

    PlayerDialog dialog;
    std::vector<std::pair<QString, int32_t>> entries;
    // Where the pointer was when the event being handled was generated.
    QPoint pointer;
    int requestedExitCode = 0;
    bool quitRequested = false;
    bool endRequested = false;
};

// The application name: the executable's file name without its extension.
QString applicationName();

} // namespace kestrine::qt
