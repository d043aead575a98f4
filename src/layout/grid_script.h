// The grid script: the text a flowchart grid is drawn from. Its symbol vocabulary, and the
// reading of a finished script as the grid view and the flowchart commands read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The pictures a cell can name. Each name is also the file name of a bitmap, so the
// enumerators carry the names exactly, case included.
enum class symbol : std::uint8_t {
    none,  // no cell
    // Node symbols: a piece of the program.
    p_start,
    p_end,
    p_statement,
    P_code,
    P_return,
    P_exit,
    P_break,
    P_continue,
    p_label,
    p_goto,
    p_except,
    p_if,
    p_if2,
    P_switch,
    p_switch2,
    P_case,
    p_else,
    P_diamond,
    P_for,
    p_for2,
    P_WHILE,
    p_whiledo,
    p_dowhile,
    P_until,
    p_untildo,
    p_dountil,
    // Connector pieces: the flow lines between them.
    P_downarrow,
    P_truearrow,
    P_falsearrow,
    P_vline,
    p_truehline,
    p_falsehline,
    P_hline,
    P_trueline,
    P_falseline,
    P_leftarrow,
    P_rightarrow,
    P_leftturn,
    p_leftturntrue,
    p_leftturnfalse,
    P_rightturn,
    p_rightturnuptrue,
    p_rightturnupfalse,
    p_rightarrowturn,
    P_rightdownturn,
    p_rightturntrue,
    p_rightturnfalse,
    p_rightdownturnarrow,
    p_rightdownturnfalsearrow,
    P_leftupturn,
    p_rightturnarrow,
    p_leftdownturnarrow,
    p_leftdownturntruearrow,
    p_rightanddownarrow,
    p_rightarrowhline,
    p_leftcross,
    p_leftcrossarrow,
    p_leftanddownarrow,
    P_lefttruearrow,
    P_leftfalsearrow,
    p_rightcrossarrow,
    p_lefttruehline,
    p_leftfalsehline,
    p_threearrow,
    p_connectarrow,
    p_connecttruearrow,
    p_leftandrightarrow,
    p_connect,
    p_connecttrue,
    p_connecfalse,
};

inline constexpr int symbol_count = 70;

// The name as scripts and bitmap files write it; empty for `symbol::none`.
std::string_view symbol_name(symbol s);

// One cell as a script writes it. The column is a layout column: grid column + offset.
struct grid_cell {
    int column = 0;
    int row = 0;
    std::string name;
    std::string range;
};

struct grid_script {
    int column_count = 0;
    int row_count = 0;
    int column_offset = 0;
    std::vector<grid_cell> cells;  // in script order
    bool complete = false;         // the cells ran up to the terminator
};

// The script text of counts, offset and cells; the terminator closes a complete script.
std::string write_grid_script(const grid_script& script);

// Reads the counts, the column offset and the cells. Empty when "colcount", "rowcount",
// "script" or the first "(" is missing, a number does not read, or a count is below 1.
// Cells are read up to the terminator or up to the first one that does not read.
std::optional<grid_script> read_grid_script(std::string_view text);

// The earliest cell of a layout position, or nullptr.
const grid_cell* find_cell(const grid_script& script, int column, int row);

// The source characters a range text stands for, 1-based and inclusive.
struct source_range {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// A range text maps to source characters only when it is a start, "-" and an end, both
// numbers, with start <= end.
std::optional<source_range> range_of(std::string_view range_text);

}  // namespace tarnwell
