#include "workspace/print_pagination.h"

#include <algorithm>

namespace tarnwell {

namespace {

bool continues_character(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

void expand_tabs(std::string& text, std::vector<std::uint8_t>& styles, int tab_width) {
    if (text.find('\t') == std::string::npos) return;
    styles.resize(text.size(), 0);
    const std::size_t width = tab_width > 0 ? static_cast<std::size_t>(tab_width) : 1;
    std::string out;
    std::vector<std::uint8_t> out_styles;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            const std::size_t spaces = width - column % width;
            out.append(spaces, ' ');
            out_styles.insert(out_styles.end(), spaces, styles[i]);
            column += spaces;
            continue;
        }
        out += c;
        out_styles.push_back(styles[i]);
        if (c == '\n' || c == '\r') {
            column = 0;
        } else if (!continues_character(static_cast<unsigned char>(c))) {
            ++column;
        }
    }
    text = std::move(out);
    styles = std::move(out_styles);
}

std::vector<print_row> print_rows(std::string_view text, std::span<const double> byte_widths,
                                  double width, bool wrap) {
    std::vector<print_row> rows;
    const auto width_of = [&](std::size_t i) {
        return i < byte_widths.size() ? byte_widths[i] : 0.0;
    };
    std::size_t line_start = 0;
    int line = 1;
    while (line_start <= text.size()) {
        std::size_t line_end = text.find_first_of("\r\n", line_start);
        if (line_end == std::string_view::npos) line_end = text.size();
        std::size_t row_start = line_start;
        double used = 0;
        for (std::size_t i = line_start; i < line_end; ++i) {
            const double w = width_of(i);
            if (wrap && w > 0 && i > row_start && used + w > width) {
                rows.push_back({line, row_start, i, row_start == line_start});
                row_start = i;
                used = 0;
            }
            used += w;
        }
        rows.push_back({line, row_start, line_end, row_start == line_start});
        if (line_end == text.size()) break;
        line_start = line_end + (text.compare(line_end, 2, "\r\n") == 0 ? 2 : 1);
        if (line_start == text.size()) break;
        ++line;
    }
    return rows;
}

int rows_per_page(double text_height, double row_height) {
    if (!(row_height > 0) || !(text_height >= row_height)) return 0;
    return static_cast<int>(text_height / row_height);
}

std::vector<print_page> paginate(std::size_t row_count, int rows_per_page) {
    if (rows_per_page <= 0) return {};
    std::vector<print_page> pages;
    const auto per_page = static_cast<std::size_t>(rows_per_page);
    for (std::size_t first = 0; first < row_count; first += per_page) {
        pages.push_back({first, std::min(per_page, row_count - first)});
    }
    if (pages.empty()) pages.push_back({0, 0});
    return pages;
}

}  // namespace tarnwell
