#include "cmdline/file_arguments.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "cmdline/usage_error.h"

namespace tarnwell::cli {

namespace {

namespace fs = std::filesystem;

bool has_wildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

void add_matching_files(const std::string& pattern, std::vector<std::string>& files) {
    const std::size_t slash = pattern.find_last_of('/');
    const std::string folder = pattern.substr(0, slash + 1);
    const std::string file_pattern = pattern.substr(slash + 1);
    std::vector<std::string> matches;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        std::error_code type_error;
        if (name.front() == '.' || !entries->is_regular_file(type_error)) continue;
        if (fnmatch(file_pattern.c_str(), name.c_str(), 0) == 0) matches.push_back(folder + name);
    }
    std::sort(matches.begin(), matches.end());
    files.insert(files.end(), matches.begin(), matches.end());
}

void add_file_argument(std::string_view argument, std::vector<std::string>& files,
                       std::set<std::string>& open_lists);

std::string absolute_name(std::string_view name) {
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(name), error);
    if (error)
        throw usage_error("cannot make " + std::string(name) + " absolute: " + error.message());
    return path.lexically_normal().string();
}

void add_list_file(const std::string& list, std::vector<std::string>& files,
                   std::set<std::string>& open_lists) {
    const std::string key = absolute_name(list);
    if (!open_lists.insert(key).second) throw usage_error("@" + list + " names itself");
    std::ifstream in(list, std::ios::binary);
    if (!in) throw usage_error("cannot read @" + list);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) add_file_argument(line, files, open_lists);
    }
    open_lists.erase(key);
}

void add_file_argument(std::string_view argument, std::vector<std::string>& files,
                       std::set<std::string>& open_lists) {
    if (argument.empty()) return;
    if (argument.front() == '@') {
        add_list_file(std::string(argument.substr(1)), files, open_lists);
        return;
    }
    const std::string name = absolute_name(argument);
    if (has_wildcard(name)) {
        add_matching_files(name, files);
    } else {
        files.push_back(name);
    }
}

}  // namespace

std::vector<std::string> expand_file_arguments(std::span<const std::string_view> args) {
    std::vector<std::string> files;
    std::set<std::string> open_lists;
    for (const std::string_view arg : args) add_file_argument(arg, files, open_lists);
    return files;
}

}  // namespace tarnwell::cli
