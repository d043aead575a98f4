// Shared pieces of the class-model tests: an in-memory code provider, a feedback and a trace
// sink that record what they are told, and a compact text dump of a model.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classmodel/uError.h"
#include "classmodel/uIntegrator.h"
#include "classmodel/uModel.h"

namespace tarnwell::test {

// The fixture folder, with a trailing "/".
std::string data_path(const std::string& name);

// Files by full name ("/src/A.java"), found along the search path like real ones.
class memory_provider : public TCodeProvider {
  public:
    explicit memory_provider(std::map<std::string, std::string> files,
                             IStatusLine* status = nullptr)
        : TCodeProvider(status), files_(std::move(files)) {}
    std::unique_ptr<std::istream> LoadStream(const std::string& name) override;
    std::string LocateFile(const std::string& name) override;

  private:
    std::map<std::string, std::string> files_;
};

struct recording_feedback : IImportFeedback {
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption, int maximum) override;
    void SetBusy(bool busy) override { busy_changes.push_back(busy); }

    std::vector<std::string> statuses;
    std::vector<std::string> messages;
    std::vector<bool> busy_changes;
    std::vector<std::string> progress_captions;
    int progress_maximum = 0;
    int ticks = 0;
    bool progress_open = false;
};

// Turns the trace on and records its lines while it lives.
class trace_recorder : public ITraceSink {
  public:
    trace_recorder();
    ~trace_recorder() override;
    void TraceLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

// Every unit package in model order with its classifiers, features and parameters, one per
// line; placeholder types in "<<Unknown>>" show as "?Name", others by their full name.
std::string dump(const TObjectModel& model);

}  // namespace tarnwell::test
