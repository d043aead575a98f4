#include "classmodel/uFileProvider.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tarnwell {

namespace {

bool is_file(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

}  // namespace

TFileProvider::~TFileProvider() {
    ShowStatus(LoadedCount() == 1 ? "1 file read."
                                  : std::to_string(LoadedCount()) + " files read.");
}

std::unique_ptr<std::istream> TFileProvider::LoadStream(const std::string& name) {
    if (name.empty()) return nullptr;
    ShowStatus("Reading " + name);
    CountLoading();
    errno = 0;
    auto stream = std::make_unique<std::ifstream>(name, std::ios::binary);
    if (!*stream || !is_file(name)) {
        throw std::system_error(errno != 0 ? errno : EISDIR, std::generic_category(),
                                "Cannot open \"" + name + "\"");
    }
    AddLoaded(name);
    return stream;
}

std::string TFileProvider::LocateFile(const std::string& name) {
    std::string found;
    if (!name.empty() && name.front() == '/') {
        if (is_file(name)) found = name;
    } else if (name.find('/') != std::string::npos) {
        for (const std::string& folder : SearchPath()) {
            if (is_file(folder + name)) {
                found = folder + name;
                break;
            }
        }
    } else {
        ListNewFolders();
        const auto hit = folders_of_.find(name);
        if (hit != folders_of_.end()) found = SearchPath()[hit->second.front()] + name;
    }
    if (!found.empty()) AddSearchPath(FolderOf(found));
    return found;
}

void TFileProvider::ListNewFolders() {
    for (; folders_listed_ < SearchPath().size(); ++folders_listed_) {
        std::error_code error;
        std::filesystem::directory_iterator entries(SearchPath()[folders_listed_], error);
        for (; !error && entries != std::filesystem::directory_iterator();
             entries.increment(error)) {
            std::error_code type_error;
            if (!entries->is_regular_file(type_error)) continue;
            folders_of_[entries->path().filename().string()].push_back(folders_listed_);
        }
    }
}

}  // namespace tarnwell
