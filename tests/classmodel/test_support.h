// Shared pieces of the class-model tests: an in-memory code provider, a feedback and a trace
// sink that record what they are told, and a compact text dump of a model.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classmodel/uError.h"
#include "classmodel/uIntegrator.h"
#include "classmodel/uModel.h"

namespace tarnwell::test {

// The fixture folder, with a trailing "/".
std::string data_path(const std::string& name);

// The bytes of a file; empty when it cannot be read.
std::string read_file(const std::string& name);

// True when libxml2 reads the text as a well-formed XML document, fetching nothing.
bool well_formed(const std::string& xml);

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

// Builds class files byte by byte, for the shapes javac does not make: chains of any length,
// unknown tags, bad indexes.
class class_file_builder {
  public:
    // A class "this_name" ("pkg/Name") extending "super_name" (none when empty).
    class_file_builder(std::string_view this_name, std::string_view super_name,
                       std::uint16_t access = 0x0021);

    // Appends a pool entry of raw bytes (its tag first) taking `slots` numbers; answers its
    // number.
    std::uint16_t entry(std::string bytes, int slots = 1);
    std::uint16_t utf8(std::string_view text);
    std::uint16_t class_entry(std::string_view name);
    class_file_builder& implements(std::string_view name);
    class_file_builder& field(std::uint16_t access, std::string_view name,
                              std::string_view descriptor);
    class_file_builder& method(std::uint16_t access, std::string_view name,
                               std::string_view descriptor);
    // The declaration's indexes as given, for indexes that name nothing or the wrong kind.
    class_file_builder& declaration(std::uint16_t this_index, std::uint16_t super_index);

    std::string bytes() const;

    static std::string u2(unsigned value);
    static std::string u4(unsigned long value);

  private:
    std::string pool_;
    std::uint16_t next_ = 1;
    std::uint16_t access_;
    std::uint16_t this_ = 0;
    std::uint16_t super_ = 0;
    std::string interfaces_;
    int interface_count_ = 0;
    std::string fields_;
    int field_count_ = 0;
    std::string methods_;
    int method_count_ = 0;
};

// Every unit package in model order with its classifiers, features and parameters, one per
// line; placeholder types in "<<Unknown>>" show as "?Name", others by their full name.
std::string dump(const TObjectModel& model);

}  // namespace tarnwell::test
