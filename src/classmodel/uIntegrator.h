// The import framework: integrators that bind a model to one job, the registry of import
// integrators, the batch import of a file list and the file-type filter of the open dialogs.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "classmodel/uCodeProvider.h"
#include "classmodel/uModel.h"

namespace tarnwell {

// The progress window of a batch: it shows while the object lives.
class IProgressWindow {
  public:
    virtual ~IProgressWindow() = default;
    virtual void Tick() = 0;
};

// What an import shows its user. The desktop program puts these on its status bar, in message
// boxes, in a progress window and as the wait cursor; the command line uses the terminal.
class IImportFeedback : public IStatusLine {
  public:
    // An error that stopped one file; the batch goes on.
    virtual void ShowMessage(const std::string& text) = 0;
    // None when there is nowhere to show one.
    virtual std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption,
                                                          int maximum) = 0;
    // The wait cursor, on for the whole import of a file list.
    virtual void SetBusy(bool busy) = 0;
};

// Binds one object model to one job.
class TIntegrator {
  public:
    explicit TIntegrator(TObjectModel& model) : model_(model) {}
    TIntegrator(const TIntegrator&) = delete;
    TIntegrator& operator=(const TIntegrator&) = delete;
    virtual ~TIntegrator() = default;
    TObjectModel& Model() const { return model_; }

  private:
    TObjectModel& model_;
};

// Base of the exporters: they read the model they are made with when asked to export.
class TExportIntegrator : public TIntegrator {
  public:
    using TIntegrator::TIntegrator;
};

// One file type an importer reads: the extension with its dot, in lower case, and its
// description (".java", "Java").
struct TFileExtension {
    std::string Extension;
    std::string Description;
};
using TFileExtensions = std::vector<TFileExtension>;

// A file a type lookup opened, with the name it was found under; no stream when none was.
struct TFoundFile {
    std::unique_ptr<std::istream> Stream;
    std::string File;
};

// Base of the parsers an importer hands its files to.
class TCodeParser {
  public:
    // Finds and opens the source of a type by its name (the short name, or the full one where
    // the file can tell packages apart); none when there is no such file or it has been read
    // already.
    using TNeedPackageHandler =
        std::function<std::unique_ptr<std::istream>(const std::string& type_name)>;

    virtual ~TCodeParser() = default;
    // Reads the stream, which is released afterwards, into the model under its root package.
    virtual void ParseStream(std::unique_ptr<std::istream> stream, TLogicPackage& root,
                             TObjectModel& model) = 0;
};

// Base of the importers: drives the import of a batch of files through a code provider and
// remembers every file read, so that none is read twice in one batch.
class TImportIntegrator : public TIntegrator {
  public:
    // The provider is the importer's; `feedback` must outlive it.
    TImportIntegrator(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                      IImportFeedback& feedback);

    // Imports the files under one lock of the model: the first clears it, files read already
    // are skipped with a trace line, more than three show a progress window.
    void BuildModelFrom(const std::vector<std::string>& files);
    // Imports one file. `reset` clears the model first and names the diagram settings file
    // after this file; `lock` locks the model around the import. An error stops this file
    // only: its text is shown and the caller goes on.
    void ImportFile(const std::string& file, bool reset, bool lock);

    // Every file read or being read, pulled-in ones included.
    const std::set<std::string>& FilesRead() const { return files_read_; }
    TCodeProvider& CodeProvider() const { return *provider_; }

  protected:
    // Reads one file into the model.
    virtual void ImportOneFile(const std::string& file) = 0;
    // The `RequestPackage` step of the parsers: locates `file_name` through the provider and,
    // when it is there and not read yet, opens it and counts it as read; otherwise none.
    TFoundFile RequestSource(const std::string& file_name);
    std::unique_ptr<std::istream> RequestFile(const std::string& file_name) {
        return RequestSource(file_name).Stream;
    }
    // Counts a file as read; false when it was already. For files the provider does not open,
    // such as the members of an archive.
    bool MarkFileRead(const std::string& file) { return files_read_.insert(file).second; }
    IImportFeedback& Feedback() const { return feedback_; }

  private:
    std::unique_ptr<TCodeProvider> provider_;
    IImportFeedback& feedback_;
    std::set<std::string> files_read_;
};

// What the registry keeps of an import integrator class: its name, the file types it reads
// and how to make one for a batch.
struct TImportIntegratorClass {
    using Factory = std::function<std::unique_ptr<TImportIntegrator>(
        TObjectModel&, std::unique_ptr<TCodeProvider>, IImportFeedback&)>;
    std::string ClassName;
    TFileExtensions FileExtensions;
    Factory Create;
};

// The import integrator classes of the program, in registration order. Views and exporters
// are made by their users directly and are not registered.
class TIntegrators {
  public:
    void Register(TImportIntegratorClass integrator) { classes_.push_back(std::move(integrator)); }
    const std::vector<TImportIntegratorClass>& Get() const { return classes_; }

  private:
    std::vector<TImportIntegratorClass> classes_;
};

// Imports a list of files: the first file's extension picks the importer, files of other types
// are taken off the list, the rest is imported with a new file provider. Answers whether an
// importer was found (without one, nothing is imported and the list stays as it was).
bool ImportFileList(const TIntegrators& integrators, TObjectModel& model,
                    std::vector<std::string>& files, IImportFeedback& feedback);

// The file-type filter of the open dialogs: "All types (*.a;*.b)|*.a;*.b|A (*.a)|*.a|...".
std::string FilterText(const TIntegrators& integrators);

// The extension of a file name in lower case, with its dot; empty when it has none.
std::string LowerExtension(const std::string& file_name);

}  // namespace tarnwell
