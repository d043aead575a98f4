// The highlighted text of a document written as an HTML page or an RTF document, each
// character in the colours and weight of its style.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarnwell {

// Colours are 0xRRGGBB.
struct export_style {
    std::uint32_t foreground = 0x000000;
    std::uint32_t background = 0xFFFFFF;
    bool bold = false;
    bool italic = false;
};

// One style byte per text byte; `style_table` is indexed by style byte, and a style past
// its end takes `page`. Text that is not valid UTF-8 is read as Latin-1. Both documents use
// "Courier New" at 10 points on the page colour.
struct styled_source {
    std::string_view title;  // UTF-8
    std::string_view text;
    std::span<const std::uint8_t> styles;
    std::span<const export_style> style_table;
    export_style page;
};

std::string export_html(const styled_source& source);
std::string export_rtf(const styled_source& source);

}  // namespace tarnwell
