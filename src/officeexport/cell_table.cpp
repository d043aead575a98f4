#include "officeexport/cell_table.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>

namespace tarnwell {

namespace {

// The line feeds of a document, to count the lines before a position in logarithmic time.
class line_feeds {
  public:
    explicit line_feeds(std::string_view document) {
        for (std::size_t i = document.find('\n'); i != std::string_view::npos;
             i = document.find('\n', i + 1)) {
            positions_.push_back(static_cast<std::int64_t>(i) + 1);
        }
    }
    // Line feeds at 1-based positions from `first` to `last`, both included.
    std::int64_t between(std::int64_t first, std::int64_t last) const {
        if (last < first) return 0;
        return std::upper_bound(positions_.begin(), positions_.end(), last) -
               std::lower_bound(positions_.begin(), positions_.end(), first);
    }

  private:
    std::vector<std::int64_t> positions_;
};

struct position_pair {
    std::int64_t first;
    std::int64_t last;
};

// "a-b" with a <= b: the "-" neither first nor last, both sides whole numbers.
std::optional<position_pair> split_range(std::string_view range) {
    const std::size_t dash = range.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == range.size()) {
        return std::nullopt;
    }
    const auto number = [](std::string_view digits) -> std::optional<std::int64_t> {
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        return value;
    };
    const auto first = number(range.substr(0, dash));
    const auto last = number(range.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    return position_pair{*first, *last};
}

cell_text text_of_range(const charted_text& source, const line_feeds& feeds, int limit,
                        std::string_view range) {
    cell_text result;
    const auto positions = split_range(range);
    if (!positions) {
        result.line_range = std::string(range);
        return result;
    }
    const auto size = static_cast<std::int64_t>(source.document.size());
    // The marked region, as positions of the document: [lo, hi], empty when hi < lo.
    const std::int64_t lo = std::clamp<std::int64_t>(source.offset, 0, size) + 1;
    const std::int64_t hi =
        source.length < 0 ? size
                          : std::clamp<std::int64_t>(source.offset + source.length, lo - 1, size);
    // Positions far outside need no exact value; keeping them small keeps the sums in range.
    const auto in_document = [&](std::int64_t position) {
        return std::clamp<std::int64_t>(position, -1, size + 1) + (lo - 1);
    };
    const std::int64_t start = in_document(positions->first);
    std::int64_t end = in_document(positions->last);
    const auto line_of = [&](std::int64_t position) {
        return 1 + feeds.between(1, std::min(std::max(position, lo), hi) - 1);
    };
    result.line_range = std::to_string(line_of(start)) + "-" + std::to_string(line_of(end));

    const std::int64_t text_start = std::max(start, lo);
    end = std::min(end, hi);
    std::string_view suffix;
    int extra = 0;
    if (limit > 0 && limit < end - text_start + 1) {
        end = text_start + limit - 1;
        suffix = "\r\n ...";
        extra = 1;
    }
    result.line_count = static_cast<int>(
        std::min<std::int64_t>(extra + 1 + feeds.between(text_start, end - 1), INT_MAX));
    if (text_start <= end) {
        result.text =
            std::string(source.document.substr(static_cast<std::size_t>(text_start - 1),
                                               static_cast<std::size_t>(end - text_start + 1)));
    }
    int longest = 0;
    int running = 0;
    for (const char c : result.text) {
        ++running;
        if (c == '\n') {
            longest = std::max(longest, running);
            running = 0;
        }
    }
    result.width = std::max(longest, running);
    result.text += suffix;
    return result;
}

std::uint64_t place_key(int column_index, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column_index)) << 32) |
           static_cast<std::uint32_t>(row);
}

}  // namespace

cell_text cell_text_of_range(const charted_text& source, int limit, std::string_view range) {
    return text_of_range(source, line_feeds(source.document), limit, range);
}

std::string display_text(const keyword_list& keywords, const cell_entry& entry,
                         const display_options& options) {
    std::string text = options.show_keyword ? std::string(keyword_of(keywords, entry.code)) : "";
    if (options.show_line_range) text += "\r\n" + entry.text.line_range;
    if (options.show_source_code) text += "\r\n" + entry.text.text;
    return text;
}

std::string trimmed_display_text(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

cell_table cell_table::build(const export_cells& layout, const charted_text& source, int limit) {
    cell_table table;
    if (layout.cells.empty() || layout.connectors.empty() || layout.column_count <= 0 ||
        layout.row_count <= 0) {
        return table;
    }
    // The table spans what the counts say and every cell besides: one empty column left of
    // the lowest, two right of the highest, two rows below the lowest one.
    int lowest = INT_MAX;
    int highest = INT_MIN;
    int highest_row = INT_MIN;
    for (const export_cell& cell : layout.cells) {
        lowest = std::min(lowest, cell.column);
        highest = std::max(highest, cell.column);
        highest_row = std::max(highest_row, cell.row);
    }
    const auto wide = [](std::int64_t n) {
        return static_cast<int>(std::clamp<std::int64_t>(n, INT_MIN / 2, INT_MAX / 2));
    };
    table.column_offset_ = std::min(layout.column_offset, wide(std::int64_t{lowest} - 1));
    table.column_count_ = std::max(
        wide(std::int64_t{layout.column_count} + layout.column_offset - table.column_offset_),
        wide(std::int64_t{highest} - table.column_offset_ + 3));
    table.row_count_ = std::max(layout.row_count, wide(std::int64_t{highest_row} + 3));

    const line_feeds feeds(source.document);
    for (const export_cell& cell : layout.cells) {
        if (cell.row < 0) continue;
        const int index = table.column_index(cell.column);
        if (!table.index_.emplace(place_key(index, cell.row), table.entries_.size()).second) {
            continue;
        }
        placed_entry placed{index, cell.row, {}};
        placed.entry.code = cell.code;
        if (cell.code != export_junction && cell.code != export_switch_end) {
            placed.entry.occupied = true;
            placed.entry.text = text_of_range(source, feeds, limit, cell.range);
        }
        table.entries_.push_back(std::move(placed));
    }
    for (const export_connector& c : layout.connectors) {
        const bool ends_exist =
            table.index_.contains(place_key(table.column_index(c.first_column), c.first_row)) &&
            table.index_.contains(place_key(table.column_index(c.second_column), c.second_row));
        if (ends_exist) {
            table.connectors_.push_back(c);
        } else {
            ++table.dropped_connectors_;
        }
    }
    return table;
}

const cell_entry& cell_table::at(int column_index, int row) const {
    static const cell_entry nothing;
    const auto found = index_.find(place_key(column_index, row));
    return found == index_.end() ? nothing : entries_[found->second].entry;
}

}  // namespace tarnwell
