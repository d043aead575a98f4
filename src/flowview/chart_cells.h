// The occupied cells of a chart as the grid shows them, without the grid's empty cells: what
// the vector pictures, the page cutting and the code hints work from, so that their memory
// grows with the number of symbols and not with the chart's area.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flowview/broxgrid_model.h"
#include "layout/grid_script.h"

namespace tarnwell {

struct chart_cell {
    grid_point at;      // grid column and row
    std::string name;   // symbol name
    std::string label;  // the source text of a label or jump cell with a valid range
    std::string hint;   // the code behind a node symbol, as its hint shows it
};

struct chart_cells {
    int column_count = 0;  // the grid's counts, as the script gives them
    int row_count = 0;
    std::vector<chart_cell> cells;  // one per position, the last written, by row then column

    // The cell at a position, or nullptr.
    const chart_cell* at(grid_point position) const;
};

// The cells of a read script at their grid positions (the last cell written for a position
// wins, as on the grid), with the label texts and hints cut from the editor text (range
// positions + offset). Cells outside the grid's counts are left out.
chart_cells collect_chart_cells(const grid_script& script, std::string_view editor_text,
                                std::int32_t offset);

// The code behind a symbol: the first lines of the source characters of its range, each cut
// at a readable length, with a mark where something was left out; empty for an invalid range
// or a range of white space only.
std::string code_hint(std::string_view editor_text, std::int32_t offset, std::string_view range);

// Whether a symbol name carries a code hint: the node symbols; the flow lines carry the
// range of a nearby item, which would only mislead there.
bool has_code_hint(std::string_view name);

}  // namespace tarnwell
