#include "classmodel/uIntegrator.h"

#include <algorithm>
#include <exception>

#include "classmodel/uError.h"
#include "classmodel/uFileProvider.h"

namespace tarnwell {

namespace {

// Shows the wait cursor while it lives.
class busy_scope {
  public:
    explicit busy_scope(IImportFeedback& feedback) : feedback_(feedback) {
        feedback_.SetBusy(true);
    }
    busy_scope(const busy_scope&) = delete;
    busy_scope& operator=(const busy_scope&) = delete;
    ~busy_scope() { feedback_.SetBusy(false); }

  private:
    IImportFeedback& feedback_;
};

bool reads(const TImportIntegratorClass& integrator, const std::string& extension) {
    return std::any_of(integrator.FileExtensions.begin(), integrator.FileExtensions.end(),
                       [&](const TFileExtension& e) { return e.Extension == extension; });
}

}  // namespace

TImportIntegrator::TImportIntegrator(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                                     IImportFeedback& feedback)
    : TIntegrator(model), provider_(std::move(provider)), feedback_(feedback) {}

void TImportIntegrator::BuildModelFrom(const std::vector<std::string>& files) {
    Model().Lock();
    std::unique_ptr<IProgressWindow> progress;
    try {
        for (const std::string& file : files) provider_->AddSearchPath(FolderOf(file));
        if (files.size() > 3) {
            progress = feedback_.OpenProgress("Reading files...", static_cast<int>(files.size()));
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!files_read_.contains(files[i])) {
                ImportFile(files[i], i == 0, false);
            } else {
                TErrorHandler::Instance().Trace("Skipping file, already parsed: " + files[i]);
            }
            if (progress) progress->Tick();
        }
    } catch (...) {
        Model().Unlock();
        throw;
    }
    Model().Unlock();
}

void TImportIntegrator::ImportFile(const std::string& file, bool reset, bool lock) {
    provider_->AddSearchPath(FolderOf(file));
    if (lock) Model().Lock();
    try {
        if (reset) {
            Model().Clear();
            Model().ModelRoot()->SetConfigFile(file);
        }
        files_read_.insert(file);
        try {
            ImportOneFile(file);
        } catch (const std::exception& error) {
            feedback_.ShowMessage(error.what());
        }
    } catch (...) {
        if (lock) Model().Unlock();
        throw;
    }
    if (lock) Model().Unlock();
}

TFoundFile TImportIntegrator::RequestSource(const std::string& file_name) {
    std::string found = provider_->LocateFile(file_name);
    if (found.empty() || files_read_.contains(found)) return {};
    auto stream = provider_->LoadStream(found);
    files_read_.insert(found);
    return {std::move(stream), std::move(found)};
}

bool ImportFileList(const TIntegrators& integrators, TObjectModel& model,
                    std::vector<std::string>& files, IImportFeedback& feedback) {
    if (files.empty()) return false;
    const busy_scope busy(feedback);
    const std::string extension = LowerExtension(files.front());
    for (const TImportIntegratorClass& integrator : integrators.Get()) {
        if (!reads(integrator, extension)) continue;
        std::erase_if(files,
                      [&](const std::string& f) { return !reads(integrator, LowerExtension(f)); });
        integrator.Create(model, std::make_unique<TFileProvider>(&feedback), feedback)
            ->BuildModelFrom(files);
        return true;
    }
    return false;
}

std::string FilterText(const TIntegrators& integrators) {
    std::string types;
    std::string patterns;
    for (const TImportIntegratorClass& integrator : integrators.Get()) {
        for (const TFileExtension& e : integrator.FileExtensions) {
            if (!types.empty()) types += '|';
            types += e.Description + " (*" + e.Extension + ")|*" + e.Extension;
            if (!patterns.empty()) patterns += ';';
            patterns += "*" + e.Extension;
        }
    }
    return "All types (" + patterns + ")|" + patterns + "|" + types;
}

std::string LowerExtension(const std::string& file_name) {
    const std::size_t slash = file_name.find_last_of('/');
    const std::size_t dot = file_name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return FoldCase(std::string_view(file_name).substr(dot));
}

}  // namespace tarnwell
