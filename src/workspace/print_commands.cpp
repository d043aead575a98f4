#include "workspace/print_commands.h"

#include <Qsci/qscilexer.h>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "workspace/DPageSetup.h"
#include "workspace/DTestPrintPreview.h"
#include "workspace/highlighters.h"
#include "workspace/mysynedit.h"
#include "workspace/notifier.h"

namespace tarnwell {

print_document printable(TMySynEdit& editor) {
    print_document document;
    document.text = editor.bytes();
    document.styles = editor.style_bytes();
    if (editor.lexer() != nullptr) {
        document.style_table = export_styles(*editor.lexer());
        document.paper = editor.lexer()->defaultPaper().rgb() & 0xFFFFFFu;
    }
    document.utf8 = editor.isUtf8();
    return document;
}

print_commands::print_commands(notifier& messages, QWidget* window)
    : messages_(messages),
      window_(window),
      settings_(default_print_settings()),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // The engine places everything on the paper itself, margins included.
    printer_->setFullPage(true);
}

print_commands::~print_commands() = default;

print_engine print_commands::engine_for(TMySynEdit& editor, const QString& title) {
    settings_.title = title.toStdString();
    return print_engine(settings_, printable(editor),
                        printer_->pageLayout().fullRect(QPageLayout::Millimeter).size(),
                        QDateTime::currentDateTime());
}

void print_commands::FilePageSetupExecute() {
    TPageSetupDlg dialog(messages_, printer_->pageLayout().fullRect(QPageLayout::Millimeter).size(),
                         window_);
    dialog.load(settings_);
    if (dialog.exec() == QDialog::Accepted) dialog.store(settings_);
}

void print_commands::FilePrinterSetupCmdExecute() {
    QPageSetupDialog dialog(printer_.get(), window_);
    dialog.exec();
}

void print_commands::FilePrintPreviewCmdExecute(TMySynEdit* editor, const QString& title) {
    if (editor == nullptr) return;
    const print_engine engine = engine_for(*editor, title);
    if (!engine.ok()) {
        messages_.message(engine.error());
        return;
    }
    TTestPrintPreviewDlg preview(engine, printer_->printerName(), window_);
    QObject::connect(&preview, &TTestPrintPreviewDlg::print_requested, &preview,
                     [this, editor, title] { print(*editor, title); });
    preview.exec();
}

void print_commands::FilePrintCmdExecute(TMySynEdit* editor, const QString& title) {
    if (editor == nullptr) return;
    printer_->setCopyCount(settings_.copies);
    QPrintDialog dialog(printer_.get(), window_);
    if (dialog.exec() != QDialog::Accepted) return;
    settings_.copies = printer_->copyCount();
    print(*editor, title);
}

bool print_commands::print(TMySynEdit& editor, const QString& title) {
    const print_engine engine = engine_for(editor, title);
    int first = 1;
    int last = engine.page_count();
    if (printer_->printRange() == QPrinter::PageRange && printer_->fromPage() > 0) {
        first = printer_->fromPage();
        last = printer_->toPage();
    }
    wait_cursor busy(messages_);
    const QString error = engine.print(*printer_, first, last);
    if (!error.isEmpty()) messages_.message(error);
    return error.isEmpty();
}

}  // namespace tarnwell
