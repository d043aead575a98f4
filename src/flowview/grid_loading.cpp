#include "flowview/grid_loading.h"

#include <algorithm>

namespace tarnwell {

namespace {

bool blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string_view editor_characters(std::string_view editor_text, std::int64_t start,
                                   std::int64_t end) {
    const std::int64_t size = static_cast<std::int64_t>(editor_text.size());
    const std::int64_t first = std::clamp<std::int64_t>(start - 1, 0, size);
    const std::int64_t last = std::clamp<std::int64_t>(end, first, size);
    return editor_text.substr(static_cast<std::size_t>(first),
                              static_cast<std::size_t>(last - first));
}

std::string label_source_text(std::string_view editor_text, std::int32_t offset,
                              source_range range) {
    std::string_view text = editor_characters(editor_text, std::int64_t{offset} + range.start,
                                              std::int64_t{offset} + range.end);
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

bool load_grid(broxgrid_model& grid, const grid_script& script, std::string_view editor_text,
               std::int32_t offset) {
    if (!grid.resize(script.column_count, script.row_count)) return false;
    std::string labels;
    for (const grid_cell& cell : script.cells) {
        const std::int64_t wide_column = std::int64_t{cell.column} - script.column_offset;
        if (wide_column < 0 || wide_column >= grid.col_count()) continue;
        const int column = static_cast<int>(wide_column);
        grid.set_cell(column, cell.row, cell.name);
        if (!is_jump_label(cell.name)) continue;
        if (const auto range = range_of(cell.range)) {
            labels += "(" + std::to_string(column) + "," + std::to_string(cell.row) + "," +
                      label_source_text(editor_text, offset, *range) + ")";
        }
    }
    grid.set_script(std::move(labels));
    return true;
}

}  // namespace tarnwell
