#include "cmdline/model_import.h"

#include <unistd.h>

#include <iostream>

#include "classmodel/uJavaClassImport.h"
#include "classmodel/uJavaParser.h"
#include "classmodel/uModel.h"
#include "cmdline/file_arguments.h"
#include "cmdline/usage_error.h"

namespace tarnwell::cli {

namespace {

// Routes the trace to a sink for as long as it lives.
class trace_scope {
  public:
    trace_scope(bool on, ITraceSink& sink) {
        TErrorHandler::Instance().SetTracing(on);
        TErrorHandler::Instance().SetSink(&sink);
    }
    trace_scope(const trace_scope&) = delete;
    trace_scope& operator=(const trace_scope&) = delete;
    ~trace_scope() {
        TErrorHandler::Instance().SetSink(nullptr);
        TErrorHandler::Instance().SetTracing(false);
    }
};

constexpr std::string_view reading = "Reading ";

}  // namespace

class terminal_feedback::progress_line : public IProgressWindow {
  public:
    progress_line(terminal_feedback& owner, int maximum) : owner_(owner) {
        owner_.maximum_ = maximum;
        owner_.done_ = 0;
    }
    progress_line(const progress_line&) = delete;
    progress_line& operator=(const progress_line&) = delete;
    ~progress_line() override { owner_.maximum_ = 0; }
    void Tick() override {
        ++owner_.done_;
        owner_.redraw();
    }

  private:
    terminal_feedback& owner_;
};

terminal_feedback::terminal_feedback(std::string_view command)
    : command_(command), terminal_(isatty(STDERR_FILENO) == 1) {}

terminal_feedback::~terminal_feedback() {
    if (terminal_ && !status_.empty()) std::cerr << "\r\033[K" << status_ << '\n';
}

void terminal_feedback::ShowStatus(const std::string& text) {
    status_ = text;
    // An error belongs to the file read last: the import says which one it opens.
    if (text.starts_with(reading)) reading_ = text.substr(reading.size());
    redraw();
}

void terminal_feedback::ShowMessage(const std::string& text) {
    ++messages_;
    print("tarnwell-cli " + command_ + ": " + (reading_.empty() ? "" : reading_ + ": ") + text);
}

std::unique_ptr<IProgressWindow> terminal_feedback::OpenProgress(const std::string&, int maximum) {
    if (!terminal_) return nullptr;
    return std::make_unique<progress_line>(*this, maximum);
}

void terminal_feedback::print(const std::string& line) {
    if (terminal_) std::cerr << "\r\033[K";
    std::cerr << line << '\n';
    redraw();
}

void terminal_feedback::redraw() {
    if (!terminal_) return;
    std::string line;
    if (maximum_ > 0) {
        line.append("[").append(std::to_string(done_)).append("/");
        line.append(std::to_string(maximum_)).append("] ");
    }
    line += status_;
    constexpr std::size_t width = 100;
    if (line.size() > width) line = line.substr(0, width - 3) + "...";
    std::cerr << "\r\033[K" << line << std::flush;
}

import_arguments read_import_arguments(std::span<const std::string_view> args) {
    import_arguments import;
    std::vector<std::string_view> file_args;
    for (const std::string_view arg : args) {
        if (TErrorHandler::TraceSwitchGiven(std::span(&arg, 1))) {
            import.trace = true;
            continue;
        }
        if (arg.size() > 1 && arg.front() == '-')
            throw usage_error("unknown option " + std::string(arg));
        if (arg.empty() || arg == "-") throw usage_error("FILES are files, not standard input");
        file_args.push_back(arg);
    }
    import.files = expand_file_arguments(file_args);
    if (import.files.empty()) throw usage_error("FILES or @LIST name no file");
    return import;
}

TIntegrators program_integrators(IDocumentOpener* opener) {
    TIntegrators integrators;
    integrators.Register(TJavaClassImporter::Class());
    integrators.Register(TJavaImporter::Class(opener));
    return integrators;
}

void import_files(import_arguments& import, TObjectModel& model, terminal_feedback& feedback) {
    const trace_scope trace(import.trace, feedback);
    const TIntegrators integrators = program_integrators(nullptr);
    const std::string first = import.files.front();
    if (!ImportFileList(integrators, model, import.files, feedback)) {
        throw usage_error("no importer reads " + first + " (the first file chooses the importer)");
    }
}

}  // namespace tarnwell::cli
