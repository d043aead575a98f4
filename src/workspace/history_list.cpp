#include "workspace/history_list.h"

#include <algorithm>
#include <cctype>

namespace tarnwell {

namespace {

std::string key_of(std::size_t index) {
    return "BROX_" + std::to_string(index);
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The file drops blanks around a value, so a value that begins or ends with one is written
// in double quotes, as is one that is quoted itself; reading takes one pair of quotes off.
std::string quoted(const std::string& value) {
    const bool needs_quotes =
        !value.empty() && (is_blank(value.front()) || is_blank(value.back()) ||
                           (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    return needs_quotes ? '"' + value + '"' : value;
}

std::string unquoted(std::string_view stored) {
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"') {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored);
}

}  // namespace

history_list::history_list(std::string_view section) : section_(section) {
    std::transform(section_.begin(), section_.end(), section_.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
}

bool history_list::add(std::string_view text) {
    if (text.empty() || text.find_first_of("\r\n") != std::string_view::npos) return false;
    std::erase(entries_, text);
    entries_.insert(entries_.begin(), std::string(text));
    if (entries_.size() > capacity) entries_.resize(capacity);
    return true;
}

void history_list::load(const ini_file& ini) {
    entries_.clear();
    const std::size_t stored = ini.keys(section_).size();
    for (std::size_t i = 0; i < stored && entries_.size() < capacity; ++i) {
        const std::optional<std::string> value = ini.value(section_, key_of(i));
        if (!value) continue;
        const std::string text = unquoted(*value);
        if (text.empty() || std::find(entries_.begin(), entries_.end(), text) != entries_.end()) {
            continue;
        }
        entries_.push_back(text);
    }
}

void history_list::store(ini_file& ini) const {
    ini.remove_section(section_);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        ini.set_value(section_, key_of(i), quoted(entries_[i]));
    }
}

}  // namespace tarnwell
