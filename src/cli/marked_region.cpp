#include "cli/marked_region.h"

namespace tarnwell::cli {

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
    return marked_region{std::string(text.substr(begin, end - begin)),
                         static_cast<std::int32_t>(begin)};
}

}  // namespace tarnwell::cli
