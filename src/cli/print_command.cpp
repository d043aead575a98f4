#include "cli/print_command.h"

#include <QApplication>
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "workspace/highlighters.h"
#include "workspace/mysynedit.h"
#include "workspace/print_commands.h"
#include "workspace/print_engine.h"

namespace tarnwell::cli {

namespace {

void keep_serious_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

std::string title_of(const std::string& file) {
    if (file == "-") return "-";
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

}  // namespace

int run_print(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, opt_lang | opt_output);
    const std::string text = read_input(options.file);
    const int language = language_of(options, text);

    // The printout is drawn off-screen whatever display there is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keep_serious_messages);
    int argc = 1;
    char name[] = "tarnwell-cli";
    char* argv[] = {name, nullptr};
    const QApplication application(argc, argv);

    // The editor styles the text with the highlighter of its language, as on screen.
    TMySynEdit editor;
    editor.set_highlighter(create_highlighter(language, Qt::white, &editor));
    editor.load_bytes(text);
    print_settings settings = default_print_settings();
    settings.title = title_of(options.file);
    const QPageSize paper(QPageSize::A4);
    const print_engine engine(settings, printable(editor), paper.size(QPageSize::Millimeter),
                              QDateTime::currentDateTime());
    if (!engine.ok()) throw usage_error(engine.error().toStdString());

    QSaveFile file(QString::fromStdString(options.output_path));
    if (!file.open(QIODevice::WriteOnly)) throw usage_error("cannot write " + options.output_path);
    QString error;
    {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF()));
        pdf.setResolution(static_cast<int>(print_engine::resolution));
        pdf.setTitle(QString::fromStdString(settings.title));
        pdf.setCreator(QStringLiteral("Tarnwell"));
        error = engine.print(pdf, 1, engine.page_count());
    }
    if (!error.isEmpty()) throw usage_error(error.toStdString());
    if (!file.commit()) throw usage_error("cannot write " + options.output_path);
    out << engine.page_count() << (engine.page_count() == 1 ? " page\n" : " pages\n");
    return 0;
}

}  // namespace tarnwell::cli
