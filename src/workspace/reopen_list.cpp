#include "workspace/reopen_list.h"

#include <algorithm>

namespace tarnwell {

namespace {
constexpr std::string_view section = "main";

std::string key_of(std::size_t index) {
    return "reopen" + std::to_string(index + 1);
}
}  // namespace

void reopen_list::add(const std::string& path) {
    if (path.empty()) return;
    std::erase(entries_, path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > capacity) entries_.resize(capacity);
}

void reopen_list::load(const ini_file& ini) {
    entries_.clear();
    for (std::size_t i = capacity; i-- > 0;) {
        if (const auto path = ini.value(section, key_of(i))) add(*path);
    }
}

void reopen_list::store(ini_file& ini) const {
    for (std::size_t i = 0; i < capacity; ++i) {
        if (i >= entries_.size() || !ini.set_value(section, key_of(i), entries_[i])) {
            ini.remove_value(section, key_of(i));
        }
    }
}

}  // namespace tarnwell
