// The cell table of an export: per cell of the export layout the source text it stands for,
// cut to the character limit, with its document line numbers and its size in characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "layout/export_cells.h"
#include "officeexport/keyword_list.h"

namespace tarnwell {

// The text of a source range and its measures.
struct cell_text {
    std::string text;        // the range's characters, cut to the limit ("\r\n ..." appended)
    std::string line_range;  // first and last document line of the uncut range: "12-14"
    int line_count = 0;      // lines of the text, the " ..." line included
    int width = 0;           // characters of its longest line, CR and LF included
    bool operator==(const cell_text&) const = default;
};

// The document and the part of it that was charted: positions of the markup count from the
// start of that part.
struct charted_text {
    std::string_view document;
    std::int64_t offset = 0;   // characters before the marked region; 0 when a mark is missing
    std::int64_t length = -1;  // characters of the marked region; -1: to the end of the document
};

// The cell text of a range "a-b" (1-based, inclusive positions of the marked region). A limit
// of -1 (or 0) never cuts. A range that does not read as two numbers a <= b gives an empty text
// and keeps the range text as the line range. Positions are clamped to the marked region: a
// range may point one past it (the end cell) or anywhere (a stale markup); what lies outside
// gives no text.
cell_text cell_text_of_range(const charted_text& source, int limit, std::string_view range);

// One entry of the table.
struct cell_entry {
    bool occupied = false;  // holds a symbol with text: not a junction or a switch end
    int code = -1;          // symbol code of the cell placed here; -1 when there is none
    cell_text text;
};

// Which parts a shape's text shows.
struct display_options {
    bool show_keyword = true;
    bool show_line_range = true;
    bool show_source_code = true;
};

// The text of a cell's shape: the keyword of its code, then "\r\n" and the line range, then
// "\r\n" and the cell text, each when shown. Untrimmed: it begins with a line break when the
// keyword is not shown (what Visio and Excel draw).
std::string display_text(const keyword_list& keywords, const cell_entry& entry,
                         const display_options& options);

// A display text as PowerPoint and Word draw it: blanks and control characters trimmed from
// both ends.
std::string trimmed_display_text(std::string_view text);

// The table, indexed by column index (column number - column offset) and row number. Only the
// entries that hold a cell are kept.
class cell_table {
  public:
    // Builds the table of a layout: nothing to draw (empty()) unless it has cells, connectors
    // and positive counts. The table spans the cells' real lowest and highest columns and
    // rows, whatever the counts say (a failed layout may give counts smaller than its cells).
    // Connectors whose first or second cell is not in the layout are left out.
    static cell_table build(const export_cells& layout, const charted_text& source, int limit);

    bool empty() const { return column_count_ == 0; }
    int column_count() const { return column_count_; }
    int row_count() const { return row_count_; }
    int column_offset() const { return column_offset_; }
    int column_index(int column) const { return column - column_offset_; }

    // The entry at a column index and row: an unoccupied one with code -1 where no cell is.
    const cell_entry& at(int column_index, int row) const;
    // The cells in layout order, with their column index and row.
    struct placed_entry {
        int column_index;
        int row;
        cell_entry entry;
    };
    const std::vector<placed_entry>& entries() const { return entries_; }
    // The connectors to draw: those of the layout whose both end cells exist, in layout order.
    const std::vector<export_connector>& connectors() const { return connectors_; }
    // How many connectors of the layout were left out because an end cell was missing.
    int dropped_connectors() const { return dropped_connectors_; }

  private:
    int column_count_ = 0;
    int row_count_ = 0;
    int column_offset_ = 0;
    std::vector<placed_entry> entries_;
    std::unordered_map<std::uint64_t, std::size_t> index_;
    std::vector<export_connector> connectors_;
    int dropped_connectors_ = 0;
};

}  // namespace tarnwell
