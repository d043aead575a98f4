#include "officeexport/export_geometry.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr double points_per_inch = 72;

}  // namespace

std::vector<double> centres_of(const std::vector<double>& sizes) {
    std::vector<double> centres;
    centres.reserve(sizes.size());
    double before = 0;
    for (const double size : sizes) {
        centres.push_back(before + size / 2);
        before += size;
    }
    return centres;
}

geometry_measures geometry_measures_of(const export_parameters& p) {
    if (p.application == export_application::visio) {
        return {p.font_height,     0.15,           p.font_width,
                p.shape_width,     p.shape_height, p.vertical_space,
                p.horizontal_space};
    }
    const double font_size = p.font.size;
    return {font_size + 3,
            11,
            font_size * 0.5,
            p.shape_width * points_per_inch,
            p.shape_height * points_per_inch,
            p.vertical_space * points_per_inch,
            p.horizontal_space * points_per_inch};
}

export_geometry compute_geometry(const cell_table& table, const geometry_measures& m,
                                 const display_options& options) {
    export_geometry g;
    const auto rows = static_cast<std::size_t>(std::max(table.row_count(), 0));
    const auto columns = static_cast<std::size_t>(std::max(table.column_count(), 0));
    g.row_sizes.assign(rows, m.vertical_space);
    g.column_sizes.assign(columns, m.horizontal_space);
    const int caption_lines = (options.show_keyword ? 1 : 0) + (options.show_line_range ? 1 : 0);
    for (const cell_table::placed_entry& placed : table.entries()) {
        if (!placed.entry.occupied) continue;
        // The table spans every cell, so both indexes are in range.
        const auto row = static_cast<std::size_t>(placed.row);
        const auto column = static_cast<std::size_t>(placed.column_index);
        if (options.show_source_code) {
            const double text_height =
                m.line_height * (placed.entry.text.line_count + caption_lines) + m.extra_height;
            g.row_sizes[row] = std::max(g.row_sizes[row], text_height);
            g.column_sizes[column] =
                std::max(g.column_sizes[column], m.character_width * placed.entry.text.width);
        } else {
            g.row_sizes[row] = m.shape_height;
            g.column_sizes[column] = m.shape_width;
        }
    }
    g.row_centres = centres_of(g.row_sizes);
    g.column_centres = centres_of(g.column_sizes);
    return g;
}

}  // namespace tarnwell
