#include "cli/gui_application.h"

#include <cstdio>

#include "flowview/chart_picture.h"

namespace tarnwell::cli {

namespace {

void keep_serious_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

}  // namespace

std::unique_ptr<QGuiApplication> start_gui_application() {
    use_offscreen_without_display();
    qInstallMessageHandler(keep_serious_messages);
    // The application keeps a reference to its arguments for its whole life.
    static int argc = 1;
    static char name[] = "tarnwell-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tarnwell::cli
