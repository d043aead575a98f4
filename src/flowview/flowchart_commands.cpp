#include "flowview/flowchart_commands.h"

#include <algorithm>
#include <charconv>

#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"
#include "workspace/document.h"

namespace tarnwell {

namespace {

// A markup this short holds no item: it is parsed again before a layout.
constexpr std::size_t shortest_markup = 10;

bool matches(source_range cell, source_range highlight, match_mode mode) {
    if (mode == match_mode::inside) {
        return highlight.start <= cell.start && cell.end <= highlight.end;
    }
    return cell.start <= highlight.start && highlight.end <= cell.end;
}

parser_result parse_marked_text(const document& doc, const parser_registry& parsers) {
    tsparser* parser = parsers.parser_at(doc.parser_slot);
    if (parser == nullptr) {
        parser_result missing;
        missing.message = "No parser charts this language.";
        return missing;
    }
    return parser->parse(doc.flowchart.marked_text);
}

}  // namespace

void settle_parser_slot(document& doc) {
    if (doc.parser_slot == 0) doc.parser_slot = parser_registry::default_slot;
}

std::optional<int> script_column_offset(std::string_view script) {
    // Only the header is read: a long chart's cells need not be parsed for one number.
    const std::size_t word = script.find("script");
    const std::size_t open = script.find('(');
    if (word == std::string_view::npos || open == std::string_view::npos) return std::nullopt;
    const std::size_t first = word + 6;
    if (open < first) return std::nullopt;
    int offset = 0;
    const char* end = script.data() + open;
    const auto [stop, error] = std::from_chars(script.data() + first, end, offset);
    if (error != std::errc() || stop != end) return std::nullopt;
    return offset;
}

layout_outcome lay_out(document& doc, int level, const parser_registry& parsers,
                       txml2script& engine) {
    flowchart_state& chart = doc.flowchart;
    layout_outcome outcome;
    if (level == level_refresh || chart.markup.size() < shortest_markup) {
        outcome.parse = parse_marked_text(doc, parsers);
        chart.markup = outcome.parse->markup;
    }
    engine.parser_slot = doc.parser_slot;
    engine.markup = chart.markup;
    // The depth changes only with the markup, and reading it walks the whole markup.
    if (outcome.parse) chart.depth = engine.depth();

    const int stored = chart.expand_level;
    int chosen = level;
    if (level == level_refresh) chosen = std::min(stored, chart.depth + 1);
    if (chosen < 0) chosen = 2;
    chart.expand_level = chosen;
    engine.make_script(chosen);
    chart.grid_script = engine.grid_script();
    outcome.script = engine.take_script();
    if (const std::optional<int> offset = script_column_offset(chart.grid_script)) {
        chart.column_offset = *offset;
    }

    const bool grew = chosen == level_all || (0 < stored && stored < chosen);
    outcome.mode = level != level_refresh && grew ? match_mode::inside : match_mode::containing;
    return outcome;
}

std::string parse_error_text(const parser_result& result) {
    return std::string(parse_error_heading) + result.message;
}

std::optional<matched_cell> find_matching_cell(const grid_script& script,
                                               std::string_view highlight_range, match_mode mode) {
    const std::optional<source_range> highlight = range_of(highlight_range);
    if (!highlight) return std::nullopt;
    for (const grid_cell& cell : script.cells) {
        const std::optional<source_range> range = range_of(cell.range);
        if (!range || !matches(*range, *highlight, mode)) continue;
        return matched_cell{{cell.column - script.column_offset, cell.row}, cell.range};
    }
    return std::nullopt;
}

std::optional<cell_selection> select_chart_cell(const grid_script& script, grid_point cell,
                                                int column_offset, std::int32_t offset) {
    const grid_cell* found =
        find_cell(script, static_cast<int>(std::int64_t{cell.column} + column_offset), cell.row);
    if (found == nullptr) return std::nullopt;
    cell_selection selection{found->range, std::nullopt};
    if (const std::optional<source_range> range = range_of(found->range)) {
        selection.editor_range =
            editor_span{std::int64_t{range->start} + offset, std::int64_t{range->end} + offset};
    }
    return selection;
}

std::string position_range(std::int64_t position) {
    const std::string number = std::to_string(position);
    return number + "-" + number;
}

std::vector<std::string> level_list_items(int depth) {
    std::vector<std::string> items{"All", "Refresh"};
    for (int n = 1; n <= std::max(depth, 1); ++n) items.push_back(std::to_string(n));
    return items;
}

bool level_item_visible(int level_number, int depth) {
    return level_number <= std::max(depth, 1);
}

std::string chart_file_name(std::string_view document_path, int expand_level,
                            std::string_view extension) {
    return std::string(document_path) + ".layer" + std::to_string(expand_level - 1) +
           std::string(extension);
}

int panel_min_width(bool small_set) {
    return small_set ? 150 : 200;
}

}  // namespace tarnwell
