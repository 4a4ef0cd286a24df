// The preview window's layout, its requests and the reload on save.
#include "tools/preview/preview_window.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>

#include <sys/stat.h>

namespace murmex::tool {

namespace {

// Editors write a file in several steps (truncate and write, or write a copy
// and rename it); the reload waits for them to finish.
constexpr int SETTLE_MILLISECONDS = 150;

// The file's identity, size and time of change; empty when it is missing. A
// save changes one of them even within the same millisecond.
std::string fileStamp(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return "";
    }
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + ":" +
           std::to_string(status.st_size) + ":" + std::to_string(status.st_mtim.tv_sec) + "." +
           std::to_string(status.st_mtim.tv_nsec);
}

} // namespace

PreviewWindow::PreviewWindow(const PreviewOptions& options)
    : options(options), game(options.start), player(new kestrine::qt::PlayerWindow()),
      side(new PreviewPanel(requests(), this)), errors(new QPlainTextEdit(this)),
      pages(new QStackedWidget(this)) {
    setWindowTitle(QStringLiteral("Preview - ") +
                   QFileInfo(QString::fromStdString(options.file)).fileName());
    // The player's window, as it is, placed inside this one.
    player->setParent(pages, Qt::Widget);
    player->logic().choiceHandler = [this](int32_t line) { return choose(line); };
    connect(player, &QDialog::rejected, this, &QWidget::close);
    errors->setReadOnly(true);
    // Notes run long: wrapped, they are read whole without scrolling sideways.
    errors->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    errors->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pages->addWidget(player);
    pages->addWidget(errors);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pages, 0, Qt::AlignTop);
    layout->addWidget(side, 1);

    auto* backKey = new QShortcut(QKeySequence(Qt::Key_Backspace), this);
    connect(backKey, &QShortcut::activated, this, [this] { back(); });
    auto* restartKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(restartKey, &QShortcut::activated, this, [this] { restart(game.startName()); });

    settle.setSingleShot(true);
    settle.setInterval(SETTLE_MILLISECONDS);
    connect(&settle, &QTimer::timeout, this, [this] { reload(); });
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, [this] { fileTouched(); });
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [this] { fileTouched(); });

    std::vector<Goal> goals;
    for (const std::string& text : options.goals) {
        Goal goal;
        std::string error;
        // The command line has refused a text that is no goal already.
        if (readGoal(text, goal, error)) {
            goals.push_back(std::move(goal));
        }
    }
    game.setGoals(std::move(goals));
    reload();
}

PreviewRequests PreviewWindow::requests() {
    PreviewRequests asked;
    asked.back = [this] { back(); };
    asked.restart = [this](const std::string& name) { restart(name); };
    asked.setVariable = [this](const std::string& name, int32_t value) {
        refresh(game.setVariable(name, value) ? "" : "Could not set \"" + name + "\".");
    };
    asked.removeVariable = [this](const std::string& name) {
        refresh(game.removeVariable(name) ? "" : "There is no variable \"" + name + "\".");
    };
    asked.setMoney = [this](int32_t value) {
        refresh(game.setMoney(value) ? "" : "Could not set the money.");
    };
    return asked;
}

void PreviewWindow::reload() {
    loadedStamp = fileStamp(options.file);
    ++loadCount;
    if (game.load(options.file, options.plain)) {
        player->logic().applyHeader(game.engine());
        player->applyColorsAndFonts();
        pages->setCurrentWidget(player);
        // The listed choices are made once, on the first load that works.
        game.chooseNumbers(options.choices);
        options.choices.clear();
    } else {
        errors->setPlainText(QString::fromStdString(game.loadReport()));
        pages->setCurrentWidget(errors);
    }
    watch();
    refresh(game.loaded() ? "" : "The script does not load; the path is replayed once it does.");
}

void PreviewWindow::watch() {
    // An editor that saves by renaming a new file over the old one leaves
    // the watch on a file that is gone; the folder's watch sees the new one.
    const QFileInfo file(QString::fromStdString(options.file));
    if (!watcher.directories().contains(file.absolutePath())) {
        watcher.addPath(file.absolutePath());
    }
    if (file.exists() && !watcher.files().contains(file.absoluteFilePath())) {
        watcher.addPath(file.absoluteFilePath());
    }
}

void PreviewWindow::fileTouched() {
    if (fileStamp(options.file) != loadedStamp || settle.isActive()) {
        settle.start();
    }
    watch();
}

bool PreviewWindow::choose(int32_t line) {
    const bool chosen = game.choose(line);
    refresh();
    return chosen;
}

void PreviewWindow::back() {
    refresh(game.back() ? "" : "There is no step to go back.");
}

void PreviewWindow::restart(const std::string& name) {
    game.restart(name);
    refresh();
}

void PreviewWindow::refresh(const std::string& message) {
    kestrine::PlayerDialog& shown = player->logic();
    // Nothing of a script that failed to load stays in the window's view.
    shown.view = murmex::ConversationView{};
    if (game.loaded()) {
        shown.view = game.view();
        if (shown.hoveredQuestion >= shown.view.questionCount) {
            shown.hoveredQuestion = -1;
        }
        // After a failure the window keeps the texts it showed, as the player does.
        if (!game.failure()) {
            shown.refreshTexts();
        }
        player->invalidate();
    }
    game.judgeGoals();
    side->display(game, message);
    player->setFocus();
}

} // namespace murmex::tool
