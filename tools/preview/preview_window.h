// The preview window: the player's own conversation window beside the side
// panel, playing a PreviewSession. It reloads the script whenever the file
// changes on disk and shows a failed load in place of the conversation, with
// the lines around each error, until a later save loads again.
#pragma once

#include "player/qt/player_window.h"
#include "tools/preview/preview_options.h"
#include "tools/preview/preview_panel.h"
#include "tools/preview/preview_session.h"

#include <QFileSystemWatcher>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QWidget>

#include <string>

namespace murmex::tool {

class PreviewWindow : public QWidget {
  public:
    explicit PreviewWindow(const PreviewOptions& options);

    const PreviewSession& session() const { return game; }
    kestrine::qt::PlayerWindow& conversation() { return *player; }
    PreviewPanel& panel() { return *side; }
    // The load error shown in place of the conversation.
    QPlainTextEdit& loadErrors() { return *errors; }
    // Loads made so far, the first included.
    int loads() const { return loadCount; }

    // The keyboard's requests, also bound to keys: Backspace and Ctrl+R.
    void back();
    void restart(const std::string& name);

    // Loads the file again and replays the path, as a save does.
    void reload();

  private:
    PreviewRequests requests();
    // Reloads once the file has settled, when it changed since the last load.
    void fileTouched();
    void watch();
    bool choose(int32_t line);
    // Shows the session after a request; `message` says what it refused.
    void refresh(const std::string& message = "");

    PreviewOptions options;
    PreviewSession game;
    kestrine::qt::PlayerWindow* player;
    PreviewPanel* side;
    QPlainTextEdit* errors;
    QStackedWidget* pages;
    QFileSystemWatcher watcher;
    QTimer settle;
    // What the file looked like at the last load, to tell a save from a
    // change to another file of its folder.
    std::string loadedStamp;
    int loadCount = 0;
};

} // namespace murmex::tool
