// Finding and opening the files of an import: the search path and the files opened so far.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace tarnwell {

// Where status lines go: the status bar of the desktop program, the terminal on the command
// line.
class IStatusLine {
  public:
    virtual ~IStatusLine() = default;
    virtual void ShowStatus(const std::string& text) = 0;
};

class TCodeProvider {
  public:
    // `status` may be nullptr: then status lines go nowhere. It must outlive the provider.
    explicit TCodeProvider(IStatusLine* status) : status_(status) {}
    TCodeProvider(const TCodeProvider&) = delete;
    TCodeProvider& operator=(const TCodeProvider&) = delete;
    virtual ~TCodeProvider() = default;

    // Appends a folder, with a "/" added at its end when missing; an empty name and a folder
    // already on the path are ignored.
    void AddSearchPath(const std::string& folder);
    const std::vector<std::string>& SearchPath() const { return search_path_; }

    // Opens a file for reading; none for an empty name. A file that cannot be opened raises.
    virtual std::unique_ptr<std::istream> LoadStream(const std::string& name) = 0;
    // The full name of the file: an absolute name (leading "/") when the file exists, a
    // relative one in the first folder of the search path that has it; empty when none does.
    // The folder of the file found joins the search path.
    virtual std::string LocateFile(const std::string& name) = 0;

    // The names of the files opened, in order, and how many openings were tried.
    const std::vector<std::string>& LoadedFiles() const { return loaded_files_; }
    int LoadedCount() const { return loaded_count_; }

  protected:
    void ShowStatus(const std::string& text) const;
    void CountLoading() { ++loaded_count_; }
    void AddLoaded(const std::string& name) { loaded_files_.push_back(name); }

  private:
    IStatusLine* status_;
    std::vector<std::string> search_path_;
    std::unordered_set<std::string> search_set_;
    std::vector<std::string> loaded_files_;
    int loaded_count_ = 0;
};

// The folder part of a file name, with its final "/"; empty when the name has none.
std::string FolderOf(const std::string& file_name);

}  // namespace tarnwell
