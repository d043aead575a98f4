#include "parsers/tree_pieces.h"

#include <algorithm>

namespace tarnwell {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A line that a top-level definition, its decorators or its comment can start: text in its
// first column that no closing bracket or continuation opens.
bool opens_top_level(std::string_view text, std::size_t line_start) {
    if (line_start >= text.size()) return false;
    const char c = text[line_start];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '@' || c == '#' ||
           c == '/';
}

// Whether the line that ends just before `line_start` holds nothing but blanks.
bool follows_empty_line(std::string_view text, std::size_t line_start) {
    if (line_start < 2 || text[line_start - 1] != '\n') return false;
    std::size_t i = line_start - 1;
    while (i > 0 && blank(text[i - 1])) --i;
    return i > 0 && text[i - 1] == '\n';
}

// The first place at or after `from` where the text may be cut; the text's size when none.
std::size_t next_cut(std::string_view text, std::size_t from) {
    for (std::size_t at = text.find('\n', from); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        const std::size_t line_start = at + 1;
        if (opens_top_level(text, line_start) && follows_empty_line(text, line_start)) {
            return line_start;
        }
    }
    return text.size();
}

}  // namespace

std::size_t start_of_closing_empty_line(std::string_view piece) {
    if (piece.empty() || piece.back() != '\n') return piece.size();
    std::size_t start = piece.size() - 1;
    while (start > 0 && blank(piece[start - 1])) --start;
    return start;
}

std::vector<text_piece> cut_into_pieces(std::string_view text, std::size_t count) {
    std::vector<text_piece> pieces;
    std::size_t start = 0;
    int row = 0;
    for (std::size_t k = 1; k <= count && start < text.size(); ++k) {
        const std::size_t end =
            k == count ? text.size() : next_cut(text, std::max(start, text.size() / count * k));
        const std::string_view piece = text.substr(start, end - start);
        pieces.push_back({piece, row});
        row += static_cast<int>(std::count(piece.begin(), piece.end(), '\n'));
        start = end;
    }
    if (pieces.empty()) pieces.push_back({text, 0});
    return pieces;
}

}  // namespace tarnwell
