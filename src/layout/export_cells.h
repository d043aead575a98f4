// The cell list and the connector list of the export layout: one cell per program item on a
// grid of layout columns and rows, and connectors glued to the sides of the cells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// What a cell or a connector of the export layout stands for; it indexes the keyword list.
enum export_code : int {
    export_start = 0,
    export_sequence = 1,  // the whole top sequence collapsed
    export_statements = 2,
    export_return = 3,
    export_exit = 4,
    export_break = 5,
    export_continue = 6,
    export_label = 7,
    export_goto = 8,
    export_except = 9,
    export_for_collapsed = 10,
    export_for_head = 11,
    export_end = 12,
    export_dountil_collapsed = 13,
    export_until_test = 14,
    export_dowhile_collapsed = 15,
    export_while_test = 16,
    export_untildo_collapsed = 17,
    export_whiledo_collapsed = 18,
    export_switch_collapsed = 19,
    export_switch_head = 20,
    export_case = 21,
    export_default = 22,
    export_switch_end = 23,
    export_if_collapsed = 24,
    export_if = 25,
    export_junction = 26,  // where connectors meet; no program item
    export_plain_line = 27,
    export_true_line = 28,
    export_false_line = 29,
};

// The side of a cell a connector is glued to.
enum class anchor : std::uint8_t { top, bottom, left, right };

// "Aligntop", "Alignbottom", "Alignleft" or "Alignright".
std::string_view anchor_name(anchor side);

struct export_cell {
    int column = 0;
    int row = 0;
    int code = 0;
    std::string range;  // the reader's item text when the cell was placed: "a-b"
    bool operator==(const export_cell&) const = default;
};

// Runs from its first cell to its second cell: the flow goes that way.
struct export_connector {
    int first_column = 0;
    int first_row = 0;
    anchor first_anchor = anchor::bottom;
    int second_column = 0;
    int second_row = 0;
    anchor second_anchor = anchor::top;
    int code = export_plain_line;
    bool operator==(const export_connector&) const = default;
};

// The result of a layout, as the exporters read it.
struct export_cells {
    std::vector<export_cell> cells;
    std::vector<export_connector> connectors;
    int column_count = 0;   // highest used column - lowest used column + 4
    int row_count = 0;      // the row after the end cell + 2
    int column_offset = 0;  // lowest used column - 1: a column's index is column - offset
};

}  // namespace tarnwell
