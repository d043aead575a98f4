// The "$…$" macros of printed headers and footers.
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

struct print_macro_values {
    int page_number = 1;
    int page_count = 1;
    std::string title;
    std::string date;
    std::string time;
};

// Replaces "$PAGENUM$", "$PAGECOUNT$", "$TITLE$", "$DATE$", "$TIME$", "$DATETIME$" and
// "$TIMEDATE$" (in any letter case) in one pass: what a macro puts in is never read again
// for macros, so a title "$PAGECOUNT$.c" prints as it is. Other text between "$" signs
// stays.
std::string expand_print_macros(std::string_view text, const print_macro_values& values);

}  // namespace tarnwell
