#include "classmodel/uCodeProvider.h"

namespace tarnwell {

void TCodeProvider::AddSearchPath(const std::string& folder) {
    if (folder.empty()) return;
    std::string path = folder;
    if (path.back() != '/') path += '/';
    if (search_set_.insert(path).second) search_path_.push_back(path);
}

void TCodeProvider::ShowStatus(const std::string& text) const {
    if (status_ != nullptr) status_->ShowStatus(text);
}

std::string FolderOf(const std::string& file_name) {
    const std::size_t slash = file_name.find_last_of('/');
    return slash == std::string::npos ? std::string() : file_name.substr(0, slash + 1);
}

}  // namespace tarnwell
