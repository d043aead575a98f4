// The layout engine: lays a structure markup out as the grid script of a flowchart, at an
// expand level, and measures the nesting depth of a markup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "layout/cell_script.h"
#include "layout/export_cells.h"

namespace tarnwell {

// The item codes the reader gives: the tag codes of the markup, then three of its own.
inline constexpr std::uint8_t item_statement = 0;
inline constexpr std::uint8_t item_end_statement = 1;
inline constexpr std::uint8_t item_break = 2;
inline constexpr std::uint8_t item_comment = 3;
inline constexpr std::uint8_t item_label = 4;
inline constexpr std::uint8_t item_goto = 5;
inline constexpr std::uint8_t item_continue = 6;
inline constexpr std::uint8_t item_return = 7;
inline constexpr std::uint8_t item_exit = 8;
inline constexpr std::uint8_t item_if = 9;
inline constexpr std::uint8_t item_end_if = 10;
inline constexpr std::uint8_t item_switch = 11;
inline constexpr std::uint8_t item_case = 12;
inline constexpr std::uint8_t item_else = 13;
inline constexpr std::uint8_t item_end_switch = 14;
inline constexpr std::uint8_t item_for = 15;
inline constexpr std::uint8_t item_end_for = 16;
inline constexpr std::uint8_t item_dountil = 17;
inline constexpr std::uint8_t item_end_dountil = 18;
inline constexpr std::uint8_t item_untildo = 19;
inline constexpr std::uint8_t item_end_untildo = 20;
inline constexpr std::uint8_t item_dowhile = 21;
inline constexpr std::uint8_t item_end_dowhile = 22;
inline constexpr std::uint8_t item_whiledo = 23;
inline constexpr std::uint8_t item_end_whiledo = 24;
inline constexpr std::uint8_t item_except = 25;
inline constexpr std::uint8_t item_end_except = 26;
inline constexpr std::uint8_t item_code = 27;
inline constexpr std::uint8_t item_end_of_markup = 28;  // "\001", or the end of the text
inline constexpr std::uint8_t item_unknown_tag = 29;
inline constexpr std::uint8_t item_malformed = 30;  // a tag cut off, or a stray character

// Where the reader stands in the markup.
struct markup_item {
    std::int32_t position = 1;  // 1-based position of the current item
    std::int32_t length = 0;
    std::uint8_t code = item_end_of_markup;
    std::string text;  // the range text: what follows the tag up to the next item
};

// The symbols of one kind of loop; the layout defines them.
struct loop_before_shape;
struct loop_after_shape;

// One engine serves every layout of the program, one layout at a time. A conditional with
// else places its branches after trial layouts that measure them; each sequence is measured
// once per layout, on cells of its own, and laid out for real once, so the cost of a layout
// grows with its markup rather than doubling with every nested conditional.
class txml2script {
  public:
    txml2script() = default;
    txml2script(const txml2script&) = delete;
    txml2script& operator=(const txml2script&) = delete;

    // Set by the caller before `make_script` or `depth`.
    std::string markup;
    int parser_slot = 3;  // only the selection layout reads it

    // Lays the markup out at a level code (0 every sequence expanded, 1 the top sequence as
    // one box, n >= 2 n - 1 levels of nesting). True when the markup was laid out completely
    // and nothing but its end follows the top sequence. A failed layout still leaves the part
    // of the chart it could lay out, closed by the end symbol.
    bool make_script(int level);
    // The nesting depth: 1 for the top sequence alone, one more per nested sequence.
    int depth();
    // The grid script of the last `make_script`, as cells and as text; no column and no text
    // when the markup did not begin with a sequence.
    const tarnwell::grid_script& script() const { return script_; }
    std::string grid_script() const;
    // The cells moved out, for a caller that needs them once; the engine then holds no script.
    tarnwell::grid_script take_script() { return std::exchange(script_, {}); }
    // Lays the markup out for the Office exporters at a level code: one cell per item and
    // connectors glued to their sides. Trims blanks and control characters from both ends of
    // the markup and closes it with its terminator first. True as for `make_script`.
    bool make_cells(int level);
    // The cell list, connector list and counts of the last `make_cells`.
    const export_cells& cells() const { return export_cells_; }

    // The reader: the item at `item.position`, the item after it, and the collapse of the
    // construct whose opening item is current into one item carrying its whole range.
    markup_item item;
    void read_item();
    void next_item();
    bool skip_block(std::uint8_t closing_code);

    // Deepest nesting of sequences a layout follows; a deeper markup fails the layout there.
    static constexpr int max_nesting = 1000;

  private:
    // The columns a sequence spans.
    struct extent {
        int lowest;
        int highest;
        void widen(int column);
    };

    // A branch as its trial layout finds it, relative to where it starts.
    struct block_measure {
        bool ok = false;
        markup_item end;  // the reader after the branch
        int column = 0;   // the current column after it
        int rows = 0;     // rows it takes: the current row after it, less its first row
        int lowest = 0;
        int highest = 0;
        symbol bottom = symbol::none;  // its earliest cell in its start column and last row
    };
    struct measure_key {
        std::int32_t position;
        int level;
        symbol above;
        bool operator==(const measure_key&) const = default;
    };
    struct measure_key_hash {
        std::size_t operator()(const measure_key& key) const;
    };

    bool layout_block(int column, int row, int level);
    bool lay_out_sequence(int column, int row, int level);
    const block_measure* trial(int column, int row, int level, symbol above);
    const block_measure& measured(int level, symbol above);
    bool kept_trial(int column, int row, int level, symbol above);
    bool keep_trials(const markup_item& at_if, int d, int f, int level);

    void symbol_and_arrow(symbol name);
    void symbol_alone(symbol name);
    bool collapsed(symbol name, std::uint8_t closing_code);
    bool conditional(int level, extent& sequence);
    void exit_to_branch(int next_to_head, int branch, int f, symbol corner_arrow, symbol line_out,
                        symbol corner);
    std::optional<int> branch_to_merge_row(int column, int f, int level, int d, int merge_row,
                                           extent& sequence);
    bool without_else(const markup_item& at_if, int d, int f, int level, extent& sequence);
    bool selection(int level, extent& sequence);
    bool loop_tested_before(const loop_before_shape& loop, int level, extent& sequence);
    bool loop_tested_after(const loop_after_shape& loop, int level, extent& sequence);
    void back_edge_into(int d, int f, int lo);

    cell_context context() const;
    void add_cell(int column, int row, symbol name);
    void draw_line(int x1, int y1, int x2, int y2, line_kind kind);
    int merge_cell(int column, int row, int mode, int argument);

    int current_column_ = 100;
    int current_row_ = 1;
    int lowest_column_ = 100;
    int highest_column_ = 100;
    cell_script script_cells_;
    cell_script* cells_ = &script_cells_;  // the cells being written: the script's or a trial's
    bool measuring_ = false;               // nested sequences are taken from their measures
    int nesting_ = 0;
    std::unordered_map<measure_key, block_measure, measure_key_hash> measures_;
    tarnwell::grid_script script_;
    export_cells export_cells_;
};

}  // namespace tarnwell
