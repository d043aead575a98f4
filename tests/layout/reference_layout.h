// A straightforward layout engine, kept to check the real one against: it follows the layout
// steps word for word, finds cells by searching the script text, and lays each branch of a
// conditional out twice, the first time as a trial on cells of its own that are then dropped.
// Its cost grows with the square of the script and doubles with every nested conditional, so
// it only serves small markups.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwell::testing {

class reference_layout {
  public:
    std::string markup;
    int parser_slot = 3;

    bool make_script(int level);
    int depth();
    const std::string& grid_script() const { return script_; }

  protected:
    // Reader, shared with the reference export layout
    void read_item();
    void next_item();
    bool skip_block(std::uint8_t closing);

    std::int32_t position_ = 1;
    std::int32_t length_ = 0;
    std::uint8_t code_ = 28;
    std::string text_;
    int nesting_ = 0;

  private:
    // Cells, in the script text
    std::size_t find(int column, int row) const;
    std::string cell_name(int column, int row) const;
    void add_cell(int column, int row, const std::string& name);
    void set_cell(int column, int row, const std::string& name, const std::string* text);
    void remove_cell(int column, int row);
    void draw_line(int x1, int y1, int x2, int y2, int kind);
    int merge_cell(int column, int row, int mode, int argument);
    void line_right(int column, int row, int kind);
    void line_left(int column, int row, int kind);

    // Layout
    bool layout_block(int c, int r, int level);
    bool conditional(int nested, int& lowest, int& highest);
    bool selection(int nested, int& lowest, int& highest);
    bool loop_before(std::uint8_t closing, int nested, int& lowest, int& highest);
    bool loop_after(std::uint8_t closing, int nested, int& lowest, int& highest);

    int column_ = 100;
    int row_ = 1;
    int lowest_ = 100;
    int highest_ = 100;
    std::string cells_;
    std::string script_;
};

}  // namespace tarnwell::testing
