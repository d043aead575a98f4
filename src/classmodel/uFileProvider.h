// The code provider over the file system.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "classmodel/uCodeProvider.h"

namespace tarnwell {

// Opens files read-only and finds them along the search path. Each folder of the path is
// listed once, when a name is first looked up after it joined, so a lookup does not ask the
// file system again: the provider lives for one import, during which the folders are taken as
// they were when first listed.
class TFileProvider : public TCodeProvider {
  public:
    using TCodeProvider::TCodeProvider;
    // Posts the status line "<number of files opened> files read." ("1 file read.").
    ~TFileProvider() override;

    // Posts "Reading <name>" first.
    std::unique_ptr<std::istream> LoadStream(const std::string& name) override;
    std::string LocateFile(const std::string& name) override;

  private:
    void ListNewFolders();

    // File name → the positions on the search path of the folders that hold it, ascending.
    std::unordered_map<std::string, std::vector<std::size_t>> folders_of_;
    std::size_t folders_listed_ = 0;
};

}  // namespace tarnwell
