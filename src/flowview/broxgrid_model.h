// The state and the rules of the flowchart grid view without a window: the cell strings,
// the highlighted cell, the label texts, the picture folder, and the geometry of cells,
// scrolling, selection and the exported bitmap. The widget tbroxgrid paints what this says.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwell {

struct grid_point {
    int column;
    int row;
    friend bool operator==(const grid_point&, const grid_point&) = default;
};

// A rectangle in pixels; right and bottom are exclusive.
struct pixel_rect {
    int left, top, right, bottom;
    friend bool operator==(const pixel_rect&, const pixel_rect&) = default;
};

// The first visible column and row of a scrolled grid.
struct scroll_position {
    int left_column = 0;
    int top_row = 0;
    friend bool operator==(const scroll_position&, const scroll_position&) = default;
};

// What painting puts into one cell, before the highlight frame.
enum class cell_look {
    corner,      // cell (0, 0): filled white
    empty,       // nothing: drawing is off or the cell string is empty
    picture,     // the symbol picture stretched over the cell
    label_text,  // large set, label or jump: its text with the green frame
};

class broxgrid_model {
  public:
    static constexpr int initial_columns = 55;
    static constexpr int initial_rows = 56;
    static constexpr int large_width = 65, large_height = 33;
    static constexpr int small_width = 27, small_height = 21;

    broxgrid_model() = default;
    // The name index views the model's own names: a copy would view another model's, while a
    // move takes the names along where they are.
    broxgrid_model(const broxgrid_model&) = delete;
    broxgrid_model& operator=(const broxgrid_model&) = delete;
    broxgrid_model(broxgrid_model&&) = default;
    broxgrid_model& operator=(broxgrid_model&&) = default;

    int col_count() const { return columns_; }
    int row_count() const { return rows_; }

    // Sets both counts and clears every cell; nothing changes when a count is below 1.
    bool resize(int columns, int rows);
    // The cell string; empty outside the grid.
    const std::string& cell(int column, int row) const;
    // Writing outside the grid does nothing.
    void set_cell(int column, int row, std::string_view name);

    int x() const { return x_; }
    int y() const { return y_; }
    void set_x(int column) { x_ = column; }
    void set_y(int row) { y_ = row; }

    // Label texts: "(" column "," row "," text ")" one after another.
    const std::string& script() const { return script_; }
    void set_script(std::string labels) { script_ = std::move(labels); }
    // The text of the first label entry of a cell, up to the first ")" after it.
    std::optional<std::string> label_text(int column, int row) const;

    // The picture folder, ending in "/"; a folder ending in "photo2/" selects the small set.
    const std::string& path() const { return path_; }
    void set_path(std::string folder);
    bool small_set() const { return small_set_; }

    bool drawing_enabled() const { return drawing_; }
    void set_drawing(bool on) { drawing_ = on; }

    int cell_width() const { return cell_width_; }
    int cell_height() const { return cell_height_; }
    void set_cell_size(int width, int height);

    cell_look look(int column, int row) const;
    // path + name + ".bmp" of a cell painted from a picture.
    std::string picture_file(int column, int row) const;
    // The cell that gets the red frame: (x, y) while drawing is on and it holds a symbol.
    std::optional<grid_point> frame_cell() const;

    // A click or a key asks to select a cell. The grid's own selection never moves: an
    // occupied cell gives the highlighted cell as it was before the owner's click handler
    // runs, so that both can be repainted; an empty cell gives nothing and raises nothing.
    std::optional<grid_point> select(int column, int row) const;

    // Geometry of the visible area, which starts at `scroll`.
    pixel_rect cell_rect(grid_point cell, scroll_position scroll) const;
    // The width of the selection frame, drawn around a cell.
    static constexpr int selection_margin = 3;
    // The cell rectangle enlarged by the selection frame around it.
    pixel_rect repaint_rect(grid_point cell, scroll_position scroll) const;
    std::optional<grid_point> cell_at(int px, int py, scroll_position scroll) const;
    // Columns and rows wholly inside a viewport of this size from `scroll` on.
    int visible_columns(int viewport_width, scroll_position scroll) const;
    int visible_rows(int viewport_height, scroll_position scroll) const;

    // Center on: moves the first visible column and row towards the cell, where they do not
    // all fit.
    scroll_position center_on(grid_point cell, scroll_position scroll, int visible_columns,
                              int visible_rows) const;
    // The top row after one wheel step down (or up).
    int wheel(int top_row, int visible_rows, bool down) const;

    // Save to bitmap: the image leaves out the last column and row; its cells are those of
    // cell_rect with no scrolling.
    int bitmap_width() const { return (columns_ - 1) * cell_width_; }
    int bitmap_height() const { return (rows_ - 1) * cell_height_; }

  private:
    // The index of a cell in cells_, or -1 outside the grid.
    std::ptrdiff_t index_of(int column, int row) const;

    int columns_ = initial_columns;
    int rows_ = initial_rows;
    // Each cell holds the number of its name in names_ (0, the empty name, for an empty cell):
    // a chart of tens of thousands of rows then takes two bytes a cell and no allocation.
    std::vector<std::uint16_t> cells_ =
        std::vector<std::uint16_t>(static_cast<std::size_t>(initial_columns * initial_rows));
    std::deque<std::string> names_{std::string()};  // a deque: references to names stay valid
    // Keyed by views of names_, so a cell's name is looked up without being copied.
    std::unordered_map<std::string_view, std::uint16_t> name_numbers_{{names_.front(), 0}};
    int x_ = -1;
    int y_ = -1;
    std::string script_;
    std::string path_;
    bool small_set_ = false;
    bool drawing_ = false;
    int cell_width_ = large_width;
    int cell_height_ = large_height;
};

// Whether a symbol name is drawn as its source text in the large set.
bool is_jump_label(std::string_view name);

}  // namespace tarnwell
