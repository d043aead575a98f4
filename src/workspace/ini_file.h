// The program's settings files: sections of "key=value" lines that a person can read and
// edit. Section and key names match without regard to letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

class ini_file {
  public:
    // Reads a file; a missing or unreadable file gives empty settings.
    static ini_file load(const std::string& path);
    static ini_file parse(std::string_view text);

    // Writes the settings, creating the folder when needed. Empty on success, else the
    // error text.
    std::string save(const std::string& path) const;
    std::string text() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    int int_value(std::string_view section, std::string_view key, int fallback) const;
    // A value that holds a line break cannot be written and is refused (false).
    bool set_value(std::string_view section, std::string_view key, std::string_view value);
    void remove_value(std::string_view section, std::string_view key);
    // The keys of a section in file order; none when there is no such section.
    std::vector<std::string> keys(std::string_view section) const;
    // Removes the section with its values; values set afterwards open it anew at the end.
    void remove_section(std::string_view section);

  private:
    struct entry {
        std::string key;
        std::string value;
    };
    struct section_entries {
        std::string name;
        std::vector<entry> entries;
    };
    section_entries* find_section(std::string_view name);
    const section_entries* find_section(std::string_view name) const;

    std::vector<section_entries> sections_;
};

}  // namespace tarnwell
