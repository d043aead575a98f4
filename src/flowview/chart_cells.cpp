#include "flowview/chart_cells.h"

#include <algorithm>
#include <tuple>

#include "flowview/grid_loading.h"
#include "flowview/symbol_joins.h"

namespace tarnwell {

namespace {

constexpr std::size_t hint_lines = 6;
constexpr std::size_t hint_line_length = 80;
constexpr std::string_view left_out = "...";

bool before(grid_point a, grid_point b) {
    return std::tie(a.row, a.column) < std::tie(b.row, b.column);
}

// A UTF-8 sequence is never cut in two: the cut moves back to the start of a character.
std::size_t character_boundary(std::string_view line, std::size_t cut) {
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

}  // namespace

const chart_cell* chart_cells::at(grid_point position) const {
    const auto found =
        std::lower_bound(cells.begin(), cells.end(), position,
                         [](const chart_cell& c, grid_point p) { return before(c.at, p); });
    return found != cells.end() && found->at == position ? &*found : nullptr;
}

chart_cells collect_chart_cells(const grid_script& script, std::string_view editor_text,
                                std::int32_t offset) {
    chart_cells chart;
    chart.column_count = script.column_count;
    chart.row_count = script.row_count;
    chart.cells.reserve(script.cells.size());
    for (const grid_cell& cell : script.cells) {
        const std::int64_t column = std::int64_t{cell.column} - script.column_offset;
        if (column < 0 || column >= script.column_count || cell.row < 0 ||
            cell.row >= script.row_count) {
            continue;
        }
        chart_cell placed{{static_cast<int>(column), cell.row}, cell.name, {}, {}};
        const std::optional<source_range> range = range_of(cell.range);
        if (range && is_jump_label(cell.name)) {
            placed.label = label_source_text(editor_text, offset, *range);
        }
        if (has_code_hint(cell.name)) placed.hint = code_hint(editor_text, offset, cell.range);
        chart.cells.push_back(std::move(placed));
    }
    // Stable, so that of the cells of one position the last written stays last.
    std::stable_sort(chart.cells.begin(), chart.cells.end(),
                     [](const chart_cell& a, const chart_cell& b) { return before(a.at, b.at); });
    std::vector<chart_cell> shown;
    shown.reserve(chart.cells.size());
    for (chart_cell& cell : chart.cells) {
        if (!shown.empty() && shown.back().at == cell.at) {
            shown.back() = std::move(cell);
        } else {
            shown.push_back(std::move(cell));
        }
    }
    chart.cells = std::move(shown);
    return chart;
}

std::string code_hint(std::string_view editor_text, std::int32_t offset, std::string_view range) {
    const std::optional<source_range> r = range_of(range);
    if (!r) return {};
    std::string_view code = editor_characters(editor_text, std::int64_t{offset} + r->start,
                                              std::int64_t{offset} + r->end);
    std::vector<std::string> lines;
    bool more = false;
    while (!code.empty()) {
        const std::size_t end = code.find('\n');
        std::string_view line = code.substr(0, end);
        code = end == std::string_view::npos ? std::string_view{} : code.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (lines.empty() && line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (lines.size() == hint_lines) {
            more = true;
            break;
        }
        std::string shown;
        for (char c : line) shown += c == '\t' ? std::string(4, ' ') : std::string(1, c);
        if (shown.size() > hint_line_length) {
            shown.resize(character_boundary(shown, hint_line_length));
            shown += left_out;
        }
        lines.push_back(std::move(shown));
    }
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) {
        lines.pop_back();
    }
    // A range starts at its first token, so the first line has lost its indentation; the
    // others keep theirs relative to the least indented of them.
    std::size_t indent = std::string::npos;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t first = lines[i].find_first_not_of(' ');
        if (first != std::string::npos) indent = std::min(indent, first);
    }
    std::string hint;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (i == 0) {
            hint += line.substr(std::min(line.size(), line.find_first_not_of(' ')));
            continue;
        }
        hint += '\n';
        if (line.size() > indent) hint += line.substr(indent);
    }
    if (more && !hint.empty()) hint += "\n" + std::string(left_out);
    return hint;
}

bool has_code_hint(std::string_view name) {
    return !name.empty() && connector_piece_of(name) == nullptr && name != "p_start" &&
           name != "p_end";
}

}  // namespace tarnwell
