// The header and footer lines that source printing puts on every page, as the program
// starts with them; "$PAGENUM$", "$PAGECOUNT$", "$TITLE$", "$DATE$" and "$TIME$" are filled
// in per page when printing.
#pragma once

#include <string>
#include <vector>

namespace tarnwell {

enum class print_alignment { left, center, right };

struct print_text_item {
    int line;  // from 1
    print_alignment alignment;
    std::string text;
    int font_size;  // points; 0 keeps the area's default font
    bool operator==(const print_text_item&) const = default;
};

struct print_settings {
    std::vector<print_text_item> header;
    std::vector<print_text_item> footer;
};

print_settings default_print_settings();

}  // namespace tarnwell
