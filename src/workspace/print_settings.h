// The print settings the program keeps for source printouts: margins, options, the text
// font, and the three-part header and footer with their fonts and frames. Texts may hold
// the macros "$PAGENUM$", "$PAGECOUNT$", "$TITLE$", "$DATE$", "$TIME$", "$DATETIME$" and
// "$TIMEDATE$", filled in per page when printing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The numbers are those the settings use: 0 left, 1 right, 2 centred.
enum class print_alignment { left = 0, right = 1, center = 2 };

struct print_font {
    std::string name = "Arial";
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint32_t colour = 0x000000;  // 0xRRGGBB
    bool operator==(const print_font&) const = default;
};

struct print_text_item {
    int line;  // from 1, counted from the top of the header or footer
    print_alignment alignment;
    std::string text;
    print_font font;
    bool operator==(const print_text_item&) const = default;
};

struct print_frame {
    bool line = false;  // under the header, above the footer
    bool box = false;
    bool shadow = false;  // the box filled with the shading colour
    std::uint32_t line_colour = 0x000000;
    std::uint32_t shading_colour = 0xC0C0C0;
    bool mirror_position = false;  // left and right items change places on even pages
    bool operator==(const print_frame&) const = default;
};

enum class margin_unit { mm = 0, cm, inches, thousandths_of_inches };

// The margin fields of the page setup, in their order there; kept in millimetres.
enum class margin_field {
    left,
    right,
    top,
    bottom,
    gutter,
    header,
    footer,
    hf_internal_margin,
    left_hf_text_indent,
    right_hf_text_indent,
};
inline constexpr int margin_field_count = 10;

struct print_margins {
    // left, right, top, bottom, gutter, header, footer, header/footer internal margin, left
    // and right header/footer text indent: distances from the paper's edges to the text,
    // and from the top edge to the line under the header (the bottom edge to the line
    // above the footer).
    std::array<double, margin_field_count> mm = {25, 15, 25, 25, 0, 15, 15, 0.5, 2, 2};
    bool mirror = false;
    margin_unit unit = margin_unit::mm;

    double operator[](margin_field f) const { return mm[static_cast<int>(f)]; }
    double& operator[](margin_field f) { return mm[static_cast<int>(f)]; }
    bool operator==(const print_margins&) const = default;
};

struct print_settings {
    int copies = 1;
    print_margins margins;
    bool line_numbers = false;
    bool line_numbers_in_margin = false;
    bool syntax_highlighting = true;
    bool colours = true;
    bool wrap_lines = true;
    print_font text_font{"MS Sans Serif", 8};
    int tab_width = 8;
    std::uint32_t page_colour = 0xFFFFFF;
    std::vector<print_text_item> header;
    std::vector<print_text_item> footer;
    print_frame header_frame{false, true, true};
    print_frame footer_frame{true, false, false};
    print_font header_font;
    print_font footer_font;
    std::string title;  // the caption of the printed document's tab, for "$TITLE$"
};

// The settings at start-up, with their header and footer lines.
print_settings default_print_settings();

// A margin in the unit of the page setup's fields, and back.
double margin_in_unit(double mm, margin_unit unit);
double margin_in_mm(double value, margin_unit unit);
// The field text of a margin: at most three decimals, no trailing zeros.
std::string margin_text(double mm, margin_unit unit);

inline constexpr std::string_view invalid_number_message = "Invalid number!";

// Writes the page setup's margin fields back in their order. At the first text that is not
// a number, or a negative one, the write stops there: the fields before it keep their new
// values, the later ones stay as they were, and the field's index is returned. Margins that
// would leave the page no room for text are refused as a whole, keeping the old ones: the
// index returned is then margin_field_count.
std::optional<int> write_margins(print_margins& margins,
                                 const std::array<std::string, margin_field_count>& texts,
                                 margin_unit unit, double page_width_mm, double page_height_mm);

// The width and height of the text on a page of this size; not positive when there is no
// room.
double text_width_mm(const print_margins& margins, double page_width_mm);
double text_height_mm(const print_margins& margins, double page_height_mm);

}  // namespace tarnwell
