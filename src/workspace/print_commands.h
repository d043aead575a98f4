// Page Setup, Printer Setup, Print Preview and Print of the current document, over the one
// set of print settings the program keeps.
#pragma once

#include <QString>
#include <memory>

#include "workspace/print_engine.h"
#include "workspace/print_settings.h"

class QPrinter;
class QWidget;

namespace tarnwell {

class notifier;
class TMySynEdit;

// What the print engine needs of an editor: its bytes, the style of every byte and the
// colours of its highlighter.
print_document printable(TMySynEdit& editor);

class print_commands {
  public:
    print_commands(notifier& messages, QWidget* window);
    ~print_commands();

    print_settings& settings() { return settings_; }
    const print_settings& settings() const { return settings_; }
    QPrinter& printer() { return *printer_; }

    // The engine for a document under its tab caption, laid out for the printer's paper.
    print_engine engine_for(TMySynEdit& editor, const QString& title);

    void FilePageSetupExecute();
    void FilePrinterSetupCmdExecute();
    void FilePrintPreviewCmdExecute(TMySynEdit* editor, const QString& title);
    void FilePrintCmdExecute(TMySynEdit* editor, const QString& title);
    // Prints every page of the document on the printer as it is set up; reports a failure.
    bool print(TMySynEdit& editor, const QString& title);

  private:
    notifier& messages_;
    QWidget* window_;
    print_settings settings_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tarnwell
