#include "workspace/ini_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

#include "workspace/file_store.h"

namespace tarnwell {

namespace {

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

ini_file ini_file::load(const std::string& path) {
    const file_read read = read_file(path);
    return read.ok ? parse(read.bytes) : ini_file();
}

ini_file ini_file::parse(std::string_view text) {
    ini_file ini;
    std::string section;
    while (!text.empty()) {
        const std::size_t line_end = text.find('\n');
        std::string_view raw =
            text.substr(0, line_end == std::string_view::npos ? text.size() : line_end);
        text.remove_prefix(line_end == std::string_view::npos ? text.size() : line_end + 1);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            section = std::string(trimmed(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t equals = raw.find('=');
        if (equals == std::string_view::npos || section.empty()) continue;
        // A value keeps its blanks at both ends: they are part of what was stored.
        ini.set_value(section, trimmed(raw.substr(0, equals)), raw.substr(equals + 1));
    }
    return ini;
}

std::string ini_file::save(const std::string& path) const {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return write_file(path, text());
}

std::string ini_file::text() const {
    std::string out;
    for (const section_entries& section : sections_) {
        if (!out.empty()) out += '\n';
        out += '[' + section.name + "]\n";
        for (const entry& e : section.entries) out += e.key + '=' + e.value + '\n';
    }
    return out;
}

std::optional<std::string> ini_file::value(std::string_view section, std::string_view key) const {
    const section_entries* found = find_section(section);
    if (found == nullptr) return std::nullopt;
    for (const entry& e : found->entries) {
        if (same_name(e.key, key)) return e.value;
    }
    return std::nullopt;
}

int ini_file::int_value(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> text = value(section, key);
    if (!text) return fallback;
    int number = 0;
    const std::string_view digits = trimmed(*text);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size() ? number : fallback;
}

bool ini_file::set_value(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaks_line = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (breaks_line(section) || breaks_line(key) || breaks_line(value) || key.empty() ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos) {
        return false;
    }
    section_entries* found = find_section(section);
    if (found == nullptr) {
        sections_.push_back({std::string(section), {}});
        found = &sections_.back();
    }
    for (entry& e : found->entries) {
        if (same_name(e.key, key)) {
            e.value = value;
            return true;
        }
    }
    found->entries.push_back({std::string(key), std::string(value)});
    return true;
}

void ini_file::remove_value(std::string_view section, std::string_view key) {
    section_entries* found = find_section(section);
    if (found == nullptr) return;
    std::erase_if(found->entries, [&](const entry& e) { return same_name(e.key, key); });
}

std::vector<std::string> ini_file::keys(std::string_view section) const {
    std::vector<std::string> names;
    if (const section_entries* found = find_section(section)) {
        for (const entry& e : found->entries) names.push_back(e.key);
    }
    return names;
}

void ini_file::remove_section(std::string_view section) {
    std::erase_if(sections_, [&](const section_entries& s) { return same_name(s.name, section); });
}

ini_file::section_entries* ini_file::find_section(std::string_view name) {
    const auto found =
        std::find_if(sections_.begin(), sections_.end(),
                     [&](const section_entries& s) { return same_name(s.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

const ini_file::section_entries* ini_file::find_section(std::string_view name) const {
    return const_cast<ini_file*>(this)->find_section(name);
}

}  // namespace tarnwell
