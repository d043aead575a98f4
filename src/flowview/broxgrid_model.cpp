#include "flowview/broxgrid_model.h"

#include <algorithm>

namespace tarnwell {

namespace {

// A grid script can ask for any counts; beyond this many cells the grid would only exhaust
// memory, so such a resize is refused like one with a count below 1.
constexpr long long max_cells = 4'000'000;

const std::string no_cell;

// Names beyond this many are not told apart; only hand-made scripts come near it.
constexpr std::size_t max_names = 65535;

}  // namespace

bool is_jump_label(std::string_view name) {
    return name == "p_label" || name == "p_goto";
}

bool broxgrid_model::resize(int columns, int rows) {
    if (columns < 1 || rows < 1) return false;
    if (static_cast<long long>(columns) * rows > max_cells) return false;
    columns_ = columns;
    rows_ = rows;
    cells_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    // No cell names anything now, so the names of odd scripts need not pile up.
    if (names_.size() > 1024) {
        names_.resize(1);
        name_numbers_ = {{names_.front(), 0}};
    }
    return true;
}

std::ptrdiff_t broxgrid_model::index_of(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return -1;
    return static_cast<std::ptrdiff_t>(row) * columns_ + column;
}

const std::string& broxgrid_model::cell(int column, int row) const {
    const std::ptrdiff_t at = index_of(column, row);
    return at < 0 ? no_cell : names_[cells_[static_cast<std::size_t>(at)]];
}

void broxgrid_model::set_cell(int column, int row, std::string_view name) {
    const std::ptrdiff_t at = index_of(column, row);
    if (at < 0) return;
    auto found = name_numbers_.find(name);
    if (found == name_numbers_.end()) {
        if (names_.size() > max_names) return;
        const auto number = static_cast<std::uint16_t>(names_.size());
        found = name_numbers_.emplace(names_.emplace_back(name), number).first;
    }
    cells_[static_cast<std::size_t>(at)] = found->second;
}

std::optional<std::string> broxgrid_model::label_text(int column, int row) const {
    // The "(" keeps the entry of column 12 from answering for column 2.
    const std::string key = "(" + std::to_string(column) + "," + std::to_string(row) + ",";
    const std::size_t at = script_.find(key);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t close = script_.find(')', start);
    return script_.substr(start, close == std::string::npos ? std::string::npos : close - start);
}

void broxgrid_model::set_path(std::string folder) {
    path_ = std::move(folder);
    constexpr std::string_view small_folder = "photo2/";
    small_set_ = path_.size() >= small_folder.size() &&
                 std::string_view(path_).substr(path_.size() - small_folder.size()) == small_folder;
}

void broxgrid_model::set_cell_size(int width, int height) {
    if (width < 1 || height < 1) return;
    cell_width_ = width;
    cell_height_ = height;
}

cell_look broxgrid_model::look(int column, int row) const {
    if (column == 0 && row == 0) return cell_look::corner;
    const std::string& name = cell(column, row);
    if (!drawing_ || name.empty()) return cell_look::empty;
    if (small_set_ || !is_jump_label(name)) return cell_look::picture;
    return cell_look::label_text;
}

std::string broxgrid_model::picture_file(int column, int row) const {
    return path_ + cell(column, row) + ".bmp";
}

std::optional<grid_point> broxgrid_model::frame_cell() const {
    if (!drawing_ || cell(x_, y_).empty()) return std::nullopt;
    return grid_point{x_, y_};
}

std::optional<grid_point> broxgrid_model::select(int column, int row) const {
    if (cell(column, row).empty()) return std::nullopt;
    return grid_point{x_, y_};
}

pixel_rect broxgrid_model::cell_rect(grid_point cell, scroll_position scroll) const {
    const int left = (cell.column - scroll.left_column) * cell_width_;
    const int top = (cell.row - scroll.top_row) * cell_height_;
    return {left, top, left + cell_width_, top + cell_height_};
}

pixel_rect broxgrid_model::repaint_rect(grid_point cell, scroll_position scroll) const {
    const pixel_rect r = cell_rect(cell, scroll);
    const int m = selection_margin;
    return {r.left - m, r.top - m, r.right + m, r.bottom + m};
}

std::optional<grid_point> broxgrid_model::cell_at(int px, int py, scroll_position scroll) const {
    if (px < 0 || py < 0) return std::nullopt;
    const grid_point cell{scroll.left_column + px / cell_width_,
                          scroll.top_row + py / cell_height_};
    if (cell.column >= columns_ || cell.row >= rows_) return std::nullopt;
    return cell;
}

int broxgrid_model::visible_columns(int viewport_width, scroll_position scroll) const {
    return std::clamp(viewport_width / cell_width_, 0, std::max(0, columns_ - scroll.left_column));
}

int broxgrid_model::visible_rows(int viewport_height, scroll_position scroll) const {
    return std::clamp(viewport_height / cell_height_, 0, std::max(0, rows_ - scroll.top_row));
}

scroll_position broxgrid_model::center_on(grid_point cell, scroll_position scroll,
                                          int visible_columns, int visible_rows) const {
    if (visible_columns < columns_)
        scroll.left_column = std::max(0, cell.column - visible_columns / 2);
    if (visible_rows < rows_) scroll.top_row = std::max(0, cell.row - visible_rows / 2);
    return scroll;
}

int broxgrid_model::wheel(int top_row, int visible_rows, bool down) const {
    if (down) return visible_rows < rows_ - top_row ? top_row + 1 : top_row;
    return top_row > 0 ? top_row - 1 : top_row;
}

}  // namespace tarnwell
