// A most-recently-used list of a text field, kept in one section of "input.ini" as the keys
// "BROX_0", "BROX_1", ... in list order, newest first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/ini_file.h"

namespace tarnwell {

// The settings file beside "tarnwell.ini" that holds the history lists and the search options.
inline constexpr std::string_view input_ini_name = "input.ini";

class history_list {
  public:
    static constexpr std::size_t capacity = 10;

    // The section name is kept in upper case, however it is given.
    explicit history_list(std::string_view section);

    const std::string& section() const { return section_; }
    const std::vector<std::string>& entries() const { return entries_; }

    // Puts a text at the top; an equal entry further down goes, the oldest beyond the tenth
    // drops out. An empty text, or one with a line break (which the file cannot hold), is
    // not stored: false.
    bool add(std::string_view text);

    // Clears the list and reads the section's entries in order; entries the list would not
    // take (empty, repeated, beyond the tenth) are left out.
    void load(const ini_file& ini);
    // Erases the section and writes the list back.
    void store(ini_file& ini) const;

  private:
    std::string section_;
    std::vector<std::string> entries_;
};

}  // namespace tarnwell
