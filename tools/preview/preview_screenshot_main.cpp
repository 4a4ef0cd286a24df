// Makes a picture of the preview window for the documentation, and times its
// reload: opens the preview on a script, makes the listed choices, saves what
// the window shows as a PNG file and prints the median time of a reload
// (load and replay of the path) over a few runs.
#include "tools/preview/preview_window.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int TIMED_RELOADS = 9;

std::vector<int32_t> choiceList(const char* text) {
    std::vector<int32_t> choices;
    for (const QString& part : QString::fromLatin1(text).split(',', Qt::SkipEmptyParts)) {
        choices.push_back(part.toInt());
    }
    return choices;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: preview_screenshot OUT.png PLAIN_SCRIPT [CHOICES]\n");
        return 2;
    }
    QApplication application(argc, argv);
    murmex::tool::PreviewOptions options;
    options.file = argv[2];
    options.plain = true;
    options.choices = argc > 3 ? choiceList(argv[3]) : std::vector<int32_t>{};
    murmex::tool::PreviewWindow window(options);
    window.show();
    QApplication::processEvents();

    std::vector<qint64> times;
    for (int run = 0; run < TIMED_RELOADS; ++run) {
        QElapsedTimer timer;
        timer.start();
        window.reload();
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    std::printf("reload of %s with %zu steps: %.2f ms (median of %d)\n", argv[2],
                window.session().path().size(), static_cast<double>(times[times.size() / 2]) / 1e6,
                TIMED_RELOADS);
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
