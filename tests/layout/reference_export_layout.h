// A straightforward export layout, kept to check the real one against: it follows the layout
// steps word for word, finds cells and connectors by searching the lists, and lays each branch
// of a conditional with else out twice, the first time as a trial on lists of its own that
// are then dropped (or, when the trials fail, added to the layout's). Its cost doubles with
// every nested conditional, so it only serves small markups.
#pragma once

#include <string>
#include <vector>

#include "layout/export_cells.h"
#include "reference_layout.h"

namespace tarnwell::testing {

class reference_export_layout : public reference_layout {
  public:
    bool make_cells(int level);
    const export_cells& cells() const { return out_; }

  private:
    bool layout_cells(int c, int r, int level);
    bool conditional(int nested, int& lowest, int& highest);
    bool selection(int nested, int& lowest, int& highest);
    bool loop_before(std::uint8_t closing, int nested, int& lowest, int& highest);
    bool loop_after(std::uint8_t closing, int nested, int& lowest, int& highest);

    void add_export_cell(int column, int row, int code, const std::string& text);
    void add_export_cell(int column, int row, int code) {
        add_export_cell(column, row, code, text_);
    }
    void add_connector(int c1, int r1, anchor a1, int c2, int r2, anchor a2, int code);
    bool retarget(int column, int row, int new_column, int new_row, anchor new_anchor);
    void step_down(int code);
    void merge(const export_cells& trial);

    int column_ = 100;
    int row_ = 1;
    int lowest_ = 100;
    int highest_ = 100;
    export_cells out_;
};

}  // namespace tarnwell::testing
