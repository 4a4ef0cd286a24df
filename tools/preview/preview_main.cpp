// murmex-preview: the live playtest window that `murmex preview` runs.
#include "tools/preview/preview_options.h"
#include "tools/preview/preview_window.h"
#include "tools/script_io/exit_status.h"

#include <CLI/CLI.hpp>

#include <QApplication>

#include <cstdio>

namespace {

// Qt's notes about the platform (a missing runtime folder, a plugin without
// some feature) mean nothing to an author; only its errors are passed on.
void passErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s: %s\n", murmex::tool::PREVIEW_PROGRAM,
                     message.toLocal8Bit().constData());
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace murmex::tool;
    CLI::App app("The live playtest window of murmex preview.", PREVIEW_PROGRAM);
    PreviewOptions options;
    addPreviewOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? EXIT_OK : EXIT_USAGE;
    }
    qInstallMessageHandler(passErrorsOnly);
    QApplication application(argc, argv);
    PreviewWindow window(options);
    window.show();
    return application.exec();
}
