// Numbers as the export settings and dialogs write and read them: written with ".", read with
// "." or "," so that a change of locale loses nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

// Without leading and trailing blanks and tabs.
std::string_view trimmed_text(std::string_view text);

// A finite number written "0.55" or "0,55", blanks around it allowed; none otherwise.
std::optional<double> read_decimal(std::string_view text);

// A whole number, blanks around it allowed; none otherwise.
std::optional<std::int64_t> read_whole_number(std::string_view text);

// The shortest text that reads back as the same number, with ".".
std::string decimal_text(double number);

}  // namespace tarnwell
