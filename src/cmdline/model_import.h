// Importing files into the class model: the importers in the desktop program's order, which
// every import of both programs uses, and the import of tarnwell-cli's commands with its status,
// progress, errors and trace on standard error.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "classmodel/uError.h"
#include "classmodel/uIntegrator.h"

namespace tarnwell {
class IDocumentOpener;
class TObjectModel;
}  // namespace tarnwell

namespace tarnwell::cli {

// Status, progress, error and trace lines on standard error. Errors and trace lines always
// show, an error led by the command's name and the file being read; status and progress only
// on a terminal, as one line redrawn in place.
class terminal_feedback : public IImportFeedback, public ITraceSink {
  public:
    explicit terminal_feedback(std::string_view command);
    terminal_feedback(const terminal_feedback&) = delete;
    terminal_feedback& operator=(const terminal_feedback&) = delete;
    // Leaves the last status line standing.
    ~terminal_feedback() override;

    void ShowStatus(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption, int maximum) override;
    void SetBusy(bool) override {}
    void TraceLine(std::string_view line) override { print(std::string(line)); }

    // The number of errors shown.
    int messages() const { return messages_; }

  private:
    class progress_line;

    void print(const std::string& line);
    void redraw();

    std::string command_;
    bool terminal_;
    std::string status_;
    std::string reading_;
    int maximum_ = 0;
    int done_ = 0;
    int messages_ = 0;
};

// What a command imports: the files of its FILES arguments and whether "-traceon" was given.
struct import_arguments {
    std::vector<std::string> files;
    bool trace = false;
};

// Reads "-traceon" (any letter case) and FILES (see expand_file_arguments). Throws usage_error
// on another option, on standard input and when the arguments name no file.
import_arguments read_import_arguments(std::span<const std::string_view> args);

// The importers of the desktop program in its order: class files and jars, then Java sources,
// which open each file they read through `opener` (may be nullptr).
TIntegrators program_integrators(IDocumentOpener* opener);

// Imports the files into the model as the desktop program does: the first file's extension
// chooses the importer (class files and jars, else Java sources) and files of other types are
// taken off the list. Errors that stop a file are counted by the feedback. Throws usage_error
// when no importer reads the first file.
void import_files(import_arguments& import, TObjectModel& model, terminal_feedback& feedback);

}  // namespace tarnwell::cli
