#include "flowview/marked_region.h"

#include <algorithm>

namespace tarnwell {

namespace {

// The index of the first character of a line, or npos when the text has fewer lines.
std::size_t line_start(std::string_view text, int line) {
    std::size_t pos = 0;
    for (int n = 1; n < line; ++n) {
        pos = text.find('\n', pos);
        if (pos == std::string_view::npos) return pos;
        ++pos;
    }
    return pos;
}

}  // namespace

std::optional<marked_region> cut_marked_lines(std::string_view text, int begin_line, int end_line) {
    if (begin_line < 1 || begin_line >= end_line) return std::nullopt;
    const std::size_t begin = line_start(text, begin_line);
    const std::size_t end_start = line_start(text, end_line);
    if (begin == std::string_view::npos || end_start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t line_break = text.find('\n', end_start);
    const std::size_t end = line_break == std::string_view::npos ? text.size() : line_break + 1;
    marked_region region{std::string(text.substr(begin, end - begin)),
                         static_cast<std::int32_t>(begin)};
    if (line_break == std::string_view::npos && end_start < text.size()) {
        // end_start follows the break that ends the line before, since end_line > 1.
        const bool cr_lf = end_start >= 2 && text[end_start - 2] == '\r';
        region.text += cr_lf ? "\r\n" : "\n";
    }
    return region;
}

std::optional<marked_region> marked_text(std::string_view text, const bookmark_set& marks) {
    const auto& begin = marks[begin_mark];
    const auto& end = marks[end_mark];
    if (!begin || !end) return std::nullopt;
    return cut_marked_lines(text, begin->line, end->line);
}

std::int32_t marked_region_offset(std::string_view text, const bookmark_set& marks) {
    const auto& begin = marks[begin_mark];
    const auto& end = marks[end_mark];
    if (!begin || !end) return 0;
    const std::size_t start = line_start(text, std::max(1, std::min(begin->line, end->line)));
    return static_cast<std::int32_t>(std::min(start, text.size()));
}

bool between_marks(const bookmark_set& marks, int line) {
    const auto& begin = marks[begin_mark];
    const auto& end = marks[end_mark];
    if (!begin || !end) return false;
    return std::min(begin->line, end->line) <= line && line <= std::max(begin->line, end->line);
}

std::int64_t character_index(std::string_view text, int column, int line) {
    const std::size_t start = line < 1 ? 0 : line_start(text, line);
    if (start == std::string_view::npos) return static_cast<std::int64_t>(text.size()) + 1;
    const std::int64_t index = static_cast<std::int64_t>(start) + std::max(column, 0) + 1;
    return std::min(index, static_cast<std::int64_t>(text.size()) + 1);
}

text_point point_of(std::string_view text, std::int64_t position) {
    const std::size_t before = static_cast<std::size_t>(
        std::clamp<std::int64_t>(position - 1, 0, static_cast<std::int64_t>(text.size())));
    const std::string_view head = text.substr(0, before);
    const std::size_t last_break = head.rfind('\n');
    const std::size_t line_begin = last_break == std::string_view::npos ? 0 : last_break + 1;
    return {static_cast<int>(std::count(head.begin(), head.end(), '\n')) + 1,
            static_cast<int>(before - line_begin) + 1};
}

}  // namespace tarnwell
