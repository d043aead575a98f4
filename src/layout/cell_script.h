// The cells of a grid script while the layout engine builds it, and the operations on them:
// append a cell, find, rename, re-text or remove the earliest cell of a position, draw a line,
// and merge a second flow into a cell that was drawn for one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "layout/grid_script.h"
#include "layout/position_index.h"

namespace tarnwell {

enum class line_kind : std::uint8_t { plain_horizontal, plain_vertical, crossing, rerouting };

// What a cell operation reads from the layout engine.
struct cell_context {
    std::string_view item_text;  // the range text of the item being laid out; new cells carry it
    int lowest_column = 0;       // extent of the sequence laid out last: a line left starts at
    int highest_column = 0;      // the lowest column, a line right ends at the highest
};

// Cells in the order they were written. Each position keeps its cells in that order, so the
// earliest cell of a position (the one every lookup, rename and removal acts on) is found
// without searching.
class cell_script {
  public:
    void add_cell(int column, int row, symbol name, std::string_view text);
    // The earliest cell's name, `symbol::none` when the position is empty.
    symbol cell_name(int column, int row) const;
    // Rename the earliest cell of the position and keep its text; nothing when it is empty.
    void set_cell(int column, int row, symbol name);
    // Rename and re-text the earliest cell of the position.
    void set_cell(int column, int row, symbol name, std::string_view text);
    // Remove the earliest cell of the position.
    void remove_cell(int column, int row);

    // A horizontal kind needs y1 = y2 and x1 <= x2, the vertical kind x1 = x2 and y1 <= y2;
    // otherwise nothing is drawn.
    void draw_line(int x1, int y1, int x2, int y2, line_kind kind, const cell_context& context);
    // Applies the merge rules of a mode (0, 1, 2, 3, 4, 6 or 8) to the position; gives 0, 1, 2
    // or 3 as the mode's table says.
    int merge_cell(int column, int row, int mode, int argument, const cell_context& context);

    // Room for about `cells` cells without growing.
    void reserve(std::size_t cells);
    // No cells, with the room kept.
    void clear();
    // Appends the cells of `later` after these, in their order.
    void append(const cell_script& later);
    // Every cell, in order, as a script holds it.
    void collect(std::vector<grid_cell>& out) const;

  private:
    struct cell {
        int column;
        int row;
        symbol name;
        bool removed;
        std::int32_t next_here;  // the next cell of the same position, -1 at the last
        std::string text;
    };
    cell* earliest(int column, int row);
    const cell* earliest(int column, int row) const;

    void walk_left(int column, int row, const cell_context& context);

    std::vector<cell> cells_;
    position_index positions_;
};

}  // namespace tarnwell
