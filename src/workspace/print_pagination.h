// How source text falls into printed rows and pages, computed before anything is drawn so
// that the page count is known on the first page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// Replaces each tab by spaces up to the next multiple of `tab_width` columns (a UTF-8
// sequence counting as one column); the style byte of a tab goes with its spaces.
void expand_tabs(std::string& text, std::vector<std::uint8_t>& styles, int tab_width);

// One printed row: the bytes [begin, end) of the text, a piece of source line `line`
// (from 1), without the line break.
struct print_row {
    int line;
    std::size_t begin;
    std::size_t end;
    bool first_of_line;  // the row that carries the line number
    bool operator==(const print_row&) const = default;
};

// Splits the text at its line breaks (LF, CR LF, CR) and, with `wrap`, each line into rows
// whose byte widths add up to at most `width`; a row takes at least one character, and
// rows break only before a byte of non-zero width (the start of a character). A final
// line break begins no further row.
std::vector<print_row> print_rows(std::string_view text, std::span<const double> byte_widths,
                                  double width, bool wrap);

// Whole rows of `row_height` that fit into `text_height`; 0 when not even one does.
int rows_per_page(double text_height, double row_height);

struct print_page {
    std::size_t first_row;
    std::size_t row_count;
    bool operator==(const print_page&) const = default;
};

// The pages of `row_count` rows; an empty text still has one (empty) page. No page at all
// when a page takes no row.
std::vector<print_page> paginate(std::size_t row_count, int rows_per_page);

}  // namespace tarnwell
