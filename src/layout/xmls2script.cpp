#include "layout/xmls2script.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "layout/export_layout.h"
#include "layout/layout_rules.h"
#include "parsers/xmls.h"

namespace tarnwell {

namespace {

using enum symbol;

// The opening item of each closing item a construct can be collapsed up to.
struct construct_pair {
    std::uint8_t opening;
    std::uint8_t closing;
};

constexpr construct_pair construct_pairs[] = {
    {item_statement, item_end_statement}, {item_if, item_end_if},
    {item_switch, item_end_switch},       {item_for, item_end_for},
    {item_dountil, item_end_dountil},     {item_untildo, item_end_untildo},
    {item_dowhile, item_end_dowhile},     {item_whiledo, item_end_whiledo},
    {item_except, item_end_except},
};

}  // namespace

struct loop_before_shape {
    std::uint8_t closing;
    symbol head;
    symbol entry_arrow;
    symbol exit_corner;
    symbol exit_line;
};

struct loop_after_shape {
    std::uint8_t closing;
    symbol test;
    symbol back_corner;
    symbol back_line;
    symbol exit_arrow;
};

namespace {

// clang-format off
constexpr struct {
    std::uint8_t opening;
    loop_before_shape shape;
} loops_tested_before[] = {
    // opening        closing            head     entry arrow   exit corner       exit line
    {item_for,     {item_end_for,     P_for,   P_truearrow,  p_rightturnfalse, P_falseline}},
    {item_whiledo, {item_end_whiledo, P_WHILE, P_truearrow,  p_rightturnfalse, P_falseline}},
    {item_untildo, {item_end_untildo, P_until, P_falsearrow, p_rightturntrue,  P_trueline}},
};

constexpr struct {
    std::uint8_t opening;
    loop_after_shape shape;
} loops_tested_after[] = {
    // opening        closing            test     back corner      back line    exit arrow
    {item_dountil, {item_end_dountil, P_until, p_leftturnfalse, P_falseline, P_truearrow}},
    {item_dowhile, {item_end_dowhile, P_WHILE, p_leftturntrue,  P_trueline,  P_falsearrow}},
};
// clang-format on

}  // namespace

// Reader

namespace {

// The position of the first `a` or `b` from `from` on, or the text's size. A plain loop: the
// library's search for either of two characters looks each character up in the set.
std::size_t first_of(const std::string& text, std::size_t from, char a, char b) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* c = begin + from; c < end; ++c) {
        if (*c == a || *c == b) return static_cast<std::size_t>(c - begin);
    }
    return text.size();
}

}  // namespace

void txml2script::read_item() {
    const std::int32_t p = item.position;
    if (p < 1 || static_cast<std::size_t>(p) > markup.size()) {
        // Past the end of the text: as if the terminator stood there, so that no loop over
        // the items of an unterminated markup runs on.
        item.code = item_end_of_markup;
        item.length = 0;
        return;
    }
    const char first = markup[static_cast<std::size_t>(p - 1)];
    if (first == '\001') {
        item.code = item_end_of_markup;
        item.length = 1;
        return;
    }
    if (first != '<') {
        item.code = item_malformed;
        item.length = 1;
        return;
    }
    const std::size_t start = static_cast<std::size_t>(p - 1);
    const std::size_t close = first_of(markup, start + 1, '>', '\001');
    if (close == markup.size() || markup[close] == '\001') {
        item.code = item_malformed;
        item.length = static_cast<std::int32_t>(close - start);
        return;
    }
    item.code = tsparser::tag_code(std::string_view(markup).substr(start, close - start + 1));
    const std::size_t next = first_of(markup, close + 1, '<', '\001');
    item.text.assign(markup, close + 1, next - close - 1);
    item.length = static_cast<std::int32_t>(next - start);
}

void txml2script::next_item() {
    item.position += item.length;
    read_item();
}

bool txml2script::skip_block(std::uint8_t closing_code) {
    const auto pair =
        std::find_if(std::begin(construct_pairs), std::end(construct_pairs),
                     [&](const construct_pair& p) { return p.closing == closing_code; });
    if (pair == std::end(construct_pairs)) return false;
    const auto start_of = [](const std::string& text) { return text.substr(0, text.find('-')); };
    // Each construct of the same kind nested inside is collapsed with it, in turn: its
    // closing item takes the range from its own start (a layout that fails at the end of the
    // markup shows the text it leaves).
    std::vector<std::string> starts{start_of(item.text)};
    for (;;) {
        next_item();
        if (item.code == item_end_of_markup) return false;
        if (item.code == pair->opening) starts.push_back(start_of(item.text));
        if (item.code != closing_code) continue;
        const std::size_t dash = item.text.find('-');
        item.text = starts.back() + "-" +
                    (dash == std::string::npos ? std::string() : item.text.substr(dash + 1));
        starts.pop_back();
        if (starts.empty()) return true;
    }
}

int txml2script::depth() {
    item.position = 1;
    read_item();
    int deepest = 1;
    int level = 1;
    for (;;) {
        next_item();
        if (item.code == item_end_of_markup) break;
        if (item.code == item_statement) {
            deepest = std::max(deepest, ++level);
        } else if (item.code == item_end_statement) {
            if (level == 1) break;
            --level;
        }
    }
    return deepest;
}

// Cell operations, with what they read of the engine

cell_context txml2script::context() const {
    return {item.text, lowest_column_, highest_column_};
}

void txml2script::add_cell(int column, int row, symbol name) {
    cells_->add_cell(column, row, name, item.text);
}

void txml2script::draw_line(int x1, int y1, int x2, int y2, line_kind kind) {
    cells_->draw_line(x1, y1, x2, y2, kind, context());
}

int txml2script::merge_cell(int column, int row, int mode, int argument) {
    return cells_->merge_cell(column, row, mode, argument, context());
}

void txml2script::extent::widen(int column) {
    lowest = std::min(lowest, column);
    highest = std::max(highest, column);
}

// The script

bool txml2script::make_script(int level) {
    // Cleared, not made anew: a level change lays the same markup out again into the memory
    // the last layout already touched.
    script_cells_.clear();
    // A chart has about one cell for every five characters of markup; a markup that is
    // mostly junk text must not reserve much.
    constexpr std::size_t most_reserved = std::size_t{1} << 18;
    script_cells_.reserve(std::min(markup.size() / 5, most_reserved));
    cells_ = &script_cells_;
    measuring_ = false;
    nesting_ = 0;
    measures_.clear();
    script_ = tarnwell::grid_script{};
    item.position = 1;
    read_item();
    if (item.code != item_statement) return false;
    lowest_column_ = highest_column_ = current_column_ = 100;
    current_row_ = 1;
    script_cells_.add_cell(100, 1, p_start, "1-2");
    current_row_ = 2;
    const bool laid_out = layout_block(100, 2, level);
    add_cell(current_column_, current_row_, p_end);
    current_row_ += 1;
    script_cells_.collect(script_.cells);
    // A layout that stopped at a fault can leave cells of a branch it had placed outside the
    // extent it went back to; the grid shows every cell, so its columns and rows take them in.
    int lowest = lowest_column_;
    int highest = highest_column_;
    int last_row = current_row_ - 1;
    for (const grid_cell& cell : script_.cells) {
        lowest = std::min(lowest, cell.column);
        highest = std::max(highest, cell.column);
        last_row = std::max(last_row, cell.row);
    }
    script_.column_count = highest - lowest + 4;
    script_.row_count = last_row + 3;
    script_.column_offset = lowest - 1;
    script_.complete = true;
    measures_.clear();
    next_item();
    return laid_out && item.code == item_end_of_markup;
}

std::string txml2script::grid_script() const {
    return script_.column_count > 0 ? write_grid_script(script_) : std::string();
}

bool txml2script::make_cells(int level) {
    return export_layout(*this).make_cells(level, export_cells_);
}

// Sequences, and the measures that spare laying a branch out twice

bool txml2script::layout_block(int column, int row, int level) {
    if (!measuring_) return lay_out_sequence(column, row, level);
    // While a branch is measured, a sequence nested in it is taken from its own measure. Of
    // its cells only the bottom one of its start column is ever read back by the enclosing
    // layout (to join flows or to place a loop's junction), so only that one is written.
    const block_measure* measure = trial(column, row, level, cells_->cell_name(column, row - 1));
    if (measure == nullptr) return false;
    if (measure->rows > 0 && measure->bottom != none) {
        add_cell(column, row + measure->rows - 1, measure->bottom);
    }
    return true;
}

// A trial layout of the sequence whose `<statement>` is the current item, at (column, row)
// below a cell named `above`: the reader, the current position and the extent end as the
// trial leaves them. The cells it would write are not needed.
const txml2script::block_measure* txml2script::trial(int column, int row, int level, symbol above) {
    const block_measure& measure = measured(level, above);
    if (!measure.ok) return nullptr;
    item = measure.end;
    current_column_ = column + measure.column;
    current_row_ = row + measure.rows;
    lowest_column_ = column + measure.lowest;
    highest_column_ = column + measure.highest;
    return &measure;
}

// A sequence lays out the same wherever it starts, up to the cell above its first row (a loop
// tested after its body joins there), so each sequence is measured once per level and cell
// above: laid out at column 0, row 0 on cells of its own.
const txml2script::block_measure& txml2script::measured(int level, symbol above) {
    const measure_key key{item.position, level, above};
    if (const auto found = measures_.find(key); found != measures_.end()) return found->second;

    const markup_item start = item;
    const int column = current_column_;
    const int row = current_row_;
    const int lowest = lowest_column_;
    const int highest = highest_column_;
    cell_script* const cells = cells_;
    const bool measuring = measuring_;

    cell_script own_cells;
    cells_ = &own_cells;
    measuring_ = true;
    if (above != none) own_cells.add_cell(0, -1, above, {});
    block_measure measure;
    measure.ok = lay_out_sequence(0, 0, level);
    if (measure.ok) {
        measure.end = item;
        measure.column = current_column_;
        measure.rows = current_row_;
        measure.lowest = lowest_column_;
        measure.highest = highest_column_;
        if (current_row_ > 0) measure.bottom = own_cells.cell_name(0, current_row_ - 1);
    }

    item = start;
    current_column_ = column;
    current_row_ = row;
    lowest_column_ = lowest;
    highest_column_ = highest;
    cells_ = cells;
    measuring_ = measuring;
    return measures_.emplace(key, std::move(measure)).first->second;
}

std::size_t txml2script::measure_key_hash::operator()(const measure_key& key) const {
    const std::size_t h = std::hash<std::int32_t>()(key.position);
    return h ^ (std::hash<int>()(key.level) * 31 + static_cast<std::size_t>(key.above)) *
                   0x9e3779b97f4a7c15ULL;
}

// A branch laid out the way its trial lays it out, on cells of its own, which then stay in
// the script: what a layout that fails between a conditional's trials and their undoing
// leaves behind.
bool txml2script::kept_trial(int column, int row, int level, symbol above) {
    cell_script trial_cells;
    cell_script* const cells = cells_;
    cells_ = &trial_cells;
    if (above != none) add_cell(column, row - 1, above);
    const bool ok = lay_out_sequence(column, row, level);
    cells_ = cells;
    cells_->append(trial_cells);
    return ok;
}

// Goes through a conditional's trials again, from its `<if>` up to where they fail, keeping
// their cells. Gives false, the result of the conditional.
bool txml2script::keep_trials(const markup_item& at_if, int d, int f, int level) {
    if (measuring_) return false;
    item = at_if;
    next_item();
    if (!kept_trial(d - 1, f + 1, level, none)) return false;
    next_item();
    if (item.code == item_statement) kept_trial(d + 1, f + 1, level, p_rightdownturnarrow);
    return false;
}

bool txml2script::lay_out_sequence(int c, int r, int level) {
    if (nesting_ >= max_nesting) return false;
    const nesting_count count(nesting_);
    const int nested = level == 0 ? 0 : level - 1;
    extent sequence{c, c};
    current_column_ = c;
    current_row_ = r;

    if (level == 1) {
        if (!skip_block(item_end_statement)) return false;
        add_cell(c, r, p_statement);
        add_cell(c, r + 1, P_downarrow);
        current_row_ = r + 2;
        lowest_column_ = highest_column_ = c;
        return true;
    }

    for (;;) {
        next_item();
        const std::uint8_t code = item.code;
        bool ok = true;
        switch (code) {
            case item_end_statement:
                lowest_column_ = sequence.lowest;
                highest_column_ = sequence.highest;
                return true;
            case item_end_of_markup:
                return false;
            case item_code:
                symbol_and_arrow(P_code);
                break;
            case item_label:
                symbol_and_arrow(p_label);
                break;
            case item_return:
                symbol_alone(P_return);
                break;
            case item_exit:
                symbol_alone(P_exit);
                break;
            case item_break:
                symbol_alone(P_break);
                break;
            case item_continue:
                symbol_alone(P_continue);
                break;
            case item_goto:
                symbol_alone(p_goto);
                break;
            case item_except:
                ok = collapsed(p_except, item_end_except);
                break;
            default: {
                // Anything but a compound item (an unknown tag, a stray character, a comment,
                // a label or closing item out of place) is passed over.
                const collapsed_construct* compound = opened_by(collapsed_constructs, code);
                if (compound == nullptr) break;
                if (level == 2) {
                    ok = collapsed(compound->collapsed, compound->closing);
                } else if (code == item_if) {
                    ok = conditional(nested, sequence);
                } else if (code == item_switch) {
                    ok = selection(nested, sequence);
                } else if (const auto* before = opened_by(loops_tested_before, code)) {
                    ok = loop_tested_before(before->shape, nested, sequence);
                } else {
                    ok = loop_tested_after(opened_by(loops_tested_after, code)->shape, nested,
                                           sequence);
                }
                break;
            }
        }
        if (!ok) return false;
    }
}

void txml2script::symbol_and_arrow(symbol name) {
    add_cell(current_column_, current_row_, name);
    add_cell(current_column_, current_row_ + 1, P_downarrow);
    current_row_ += 2;
}

// A symbol the flow does not leave downwards: the row below it stays empty.
void txml2script::symbol_alone(symbol name) {
    add_cell(current_column_, current_row_, name);
    current_row_ += 2;
}

bool txml2script::collapsed(symbol name, std::uint8_t closing_code) {
    if (!skip_block(closing_code)) return false;
    symbol_and_arrow(name);
    return true;
}

// The conditional

bool txml2script::conditional(int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    add_cell(d, f, p_if);
    const markup_item at_if = item;
    next_item();
    if (item.code != item_statement) return false;

    // Trials measure the branches. The first one's rightmost column is to be d - 1, the
    // second one's leftmost d + 1. Each is measured on cells of its own, as it will be laid
    // out: cells of the other branch or of the chart around would not be where they are now
    // once the branches are placed.
    if (trial(d - 1, f + 1, level, none) == nullptr) return keep_trials(at_if, d, f, level);
    const int left = 2 * d - 2 - highest_column_;
    const int first_end = current_row_ - 1;
    next_item();
    if (item.code == item_end_if) return without_else(at_if, d, f, level, sequence);
    if (item.code != item_statement) return keep_trials(at_if, d, f, level);
    // The second trial starts below the corner the false path turns down at.
    if (trial(d + 1, f + 1, level, p_rightdownturnarrow) == nullptr) {
        return keep_trials(at_if, d, f, level);
    }
    const int right = 2 * d + 2 - lowest_column_;
    const int second_end = current_row_ - 1;
    int merge_row = std::max(first_end, second_end);
    if (f >= merge_row) merge_row = f + 1;
    item = at_if;

    exit_to_branch(d - 1, left, f, p_leftdownturntruearrow, P_trueline, p_leftdownturnarrow);
    const std::optional<int> left_flow =
        branch_to_merge_row(left, f, level, d, merge_row, sequence);
    if (!left_flow) return false;
    exit_to_branch(d + 1, right, f, p_rightdownturnfalsearrow, P_falseline, p_rightdownturnarrow);
    const std::optional<int> right_flow =
        branch_to_merge_row(right, f, level, d, merge_row, sequence);
    if (!right_flow) return false;

    // The join.
    next_item();
    if (item.code != item_end_if) return false;
    current_column_ = d;
    current_row_ = merge_row;
    if (*left_flow != 0 && *right_flow != 0) {
        add_cell(d, merge_row, p_threearrow);
    } else if (*left_flow != 0) {
        add_cell(d, merge_row, p_rightdownturnarrow);
    } else if (*right_flow != 0) {
        add_cell(d, merge_row, p_leftdownturnarrow);
    }
    current_row_ = merge_row + 1;
    return true;
}

// The exit of a branch from the condition row: a corner with an arrow down when the branch
// starts next to the head, otherwise a line out of the head and a corner down into the branch.
void txml2script::exit_to_branch(int next_to_head, int branch, int f, symbol corner_arrow,
                                 symbol line_out, symbol corner) {
    if (branch == next_to_head) {
        add_cell(next_to_head, f, corner_arrow);
        return;
    }
    add_cell(next_to_head, f, line_out);
    draw_line(std::min(branch, next_to_head) + 1, f, std::max(branch, next_to_head) - 1, f,
              line_kind::plain_horizontal);
    add_cell(branch, f, corner);
}

// Lays out the next branch of a conditional with else in its column and brings its flow down
// to the merge row and across towards the join in column d: merge mode 1 for the left branch,
// 2 for the right one. Gives the flow (0 when it ends inside the branch), none on failure.
std::optional<int> txml2script::branch_to_merge_row(int column, int f, int level, int d,
                                                    int merge_row, extent& sequence) {
    next_item();
    if (item.code != item_statement) return std::nullopt;
    if (!layout_block(column, f + 1, level)) return std::nullopt;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const bool left = column < d;
    const int bottom = current_row_ - 1;
    const int flow = merge_cell(current_column_, bottom, left ? 1 : 2, merge_row);
    if (flow != 0 && bottom != merge_row) {
        draw_line(current_column_, current_row_, current_column_, merge_row - 1,
                  line_kind::plain_vertical);
        add_cell(current_column_, merge_row, left ? P_leftturn : P_rightturn);
        if (left) {
            draw_line(current_column_ + 1, merge_row, d - 1, merge_row,
                      line_kind::plain_horizontal);
        } else {
            draw_line(d + 1, merge_row, current_column_ - 1, merge_row,
                      line_kind::plain_horizontal);
        }
    }
    return flow;
}

// The true branch goes straight down; the false path runs right along the condition row,
// down a column right of the branch and back left into the branch's bottom cell.
bool txml2script::without_else(const markup_item& at_if, int d, int f, int level,
                               extent& sequence) {
    item = at_if;
    current_column_ = d;
    add_cell(d, f + 1, P_truearrow);
    current_row_ = f + 2;
    next_item();
    if (item.code != item_statement) return false;
    if (!layout_block(d, f + 2, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int h = highest_column_;
    next_item();
    if (item.code != item_end_if) return false;
    merge_cell(d, current_row_ - 1, 0, 0);
    sequence.widen(h + 1);
    if (h == d) {
        add_cell(d + 1, f, p_rightturnfalse);
    } else {
        add_cell(d + 1, f, P_falseline);
        draw_line(d + 2, f, h, f, line_kind::plain_horizontal);
        add_cell(h + 1, f, P_rightdownturn);
    }
    add_cell(h + 1, current_row_ - 1, P_rightturn);
    draw_line(h + 1, f + 1, h + 1, current_row_ - 2, line_kind::plain_vertical);
    return true;
}

// The selection: labels and their branches one below the other in the head's column, and a
// dispatch line down the right side with an arrow into each label.
bool txml2script::selection(int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    int rightmost = d;
    std::vector<int> label_rows;
    add_cell(d, f, P_switch);
    add_cell(d, f + 1, P_leftturn);
    current_row_ = f + 2;
    next_item();
    while (item.code != item_end_switch) {
        if (item.code != item_case && item.code != item_else) return false;
        label_rows.push_back(current_row_);
        add_cell(d, current_row_, item.code == item_case ? P_case : p_else);
        add_cell(d, current_row_ + 1, P_downarrow);
        current_row_ += 2;
        next_item();
        if (item.code != item_statement) return false;
        if (!layout_block(d, current_row_, level)) return false;
        sequence.widen(lowest_column_);
        sequence.widen(highest_column_);
        rightmost = std::max(rightmost, highest_column_);
        if (basic_like_selection(parser_slot) && cells_->cell_name(d, current_row_ - 1) != none) {
            current_row_ += 1;
        }
        next_item();
    }

    if (closes_selection_below(parser_slot)) {
        add_cell(d, current_row_, P_diamond);
        add_cell(d, current_row_ + 1, P_downarrow);
        current_row_ += 2;
    } else if (basic_like_selection(parser_slot)) {
        add_cell(d, current_row_ - 1, P_diamond);
        add_cell(d, current_row_, P_downarrow);
        current_row_ += 1;
    } else {
        current_row_ += 1;
    }

    draw_line(d + 1, f + 1, rightmost, f + 1, line_kind::plain_horizontal);
    sequence.widen(rightmost + 1);
    add_cell(rightmost + 1, f + 1, P_rightdownturn);
    for (std::size_t i = 0; i < label_rows.size(); ++i) {
        const int m = label_rows[i];
        draw_line(d + 2, m, rightmost, m, line_kind::plain_horizontal);
        const bool last = i + 1 == label_rows.size();
        if (!last) {
            if (rightmost == d) {
                add_cell(d + 1, m, p_leftcrossarrow);
            } else {
                add_cell(d + 1, m, P_leftarrow);
                add_cell(rightmost + 1, m, p_leftcross);
            }
            draw_line(rightmost + 1, m + 1, rightmost + 1, label_rows[i + 1] - 1,
                      line_kind::plain_vertical);
        } else if (rightmost == d) {
            add_cell(d + 1, m, p_rightarrowturn);
        } else {
            add_cell(d + 1, m, P_leftarrow);
            add_cell(rightmost + 1, m, P_rightturn);
        }
    }
    return true;
}

// Loops

// The top of a back edge that comes up column lo - 1 and ends in an arrow into (d, f).
void txml2script::back_edge_into(int d, int f, int lo) {
    if (lo == d) {
        add_cell(d - 1, f, p_rightturnarrow);
        return;
    }
    add_cell(lo - 1, f, P_leftupturn);
    draw_line(lo, f, d - 2, f, line_kind::plain_horizontal);
    add_cell(d - 1, f, P_rightarrow);
}

// The head with the body below it, the back edge up the left side into the head's left,
// and the exit out of the head's right, down the right side and back under the body.
bool txml2script::loop_tested_before(const loop_before_shape& loop, int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    add_cell(d, f, loop.head);
    add_cell(d, f + 1, loop.entry_arrow);
    current_row_ = f + 2;
    next_item();
    if (item.code != item_statement) return false;
    if (!layout_block(d, f + 2, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int lo = lowest_column_;
    const int hi = highest_column_;
    next_item();
    if (item.code != loop.closing) return false;

    if (merge_cell(d, current_row_ - 1, 3, 0) != 0) {
        sequence.widen(lo - 1);
        back_edge_into(d, f, lo);
        add_cell(lo - 1, current_row_ - 1, P_leftturn);
        draw_line(lo - 1, f + 1, lo - 1, current_row_ - 2, line_kind::plain_vertical);
    }

    sequence.widen(hi + 1);
    if (hi == d) {
        add_cell(d + 1, f, loop.exit_corner);
    } else {
        add_cell(hi + 1, f, P_rightdownturn);
        draw_line(d + 2, f, hi, f, line_kind::plain_horizontal);
        add_cell(d + 1, f, loop.exit_line);
    }
    add_cell(d, current_row_, p_leftdownturnarrow);
    draw_line(d + 1, current_row_, hi, current_row_, line_kind::plain_horizontal);
    add_cell(hi + 1, current_row_, P_rightturn);
    draw_line(hi + 1, f + 1, hi + 1, current_row_ - 1, line_kind::plain_vertical);
    current_row_ += 1;
    return true;
}

// The body first, the test below it, the back edge from the test's left up to a junction
// above the body, and the exit arrow below the test.
bool txml2script::loop_tested_after(const loop_after_shape& loop, int level, extent& sequence) {
    const int d = current_column_;
    const int r = current_row_;
    const int j = merge_cell(d, r - 1, 4, 0);
    int f = r - 1;
    if (j == 2) {
        add_cell(d, r, p_rightanddownarrow);
        current_row_ = r + 1;
        f = r;
    }
    next_item();
    if (item.code != item_statement) return false;
    if (!layout_block(d, current_row_, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int lo = lowest_column_;
    next_item();
    if (item.code != loop.closing) return false;

    const int row = current_row_;
    add_cell(d, row, loop.test);
    if (lo == d) {
        sequence.widen(lo - 1);
        add_cell(lo - 1, row, loop.back_corner);
    } else {
        add_cell(d - 1, row, loop.back_line);
        draw_line(lo, row, d - 2, row, line_kind::plain_horizontal);
        sequence.widen(lo - 1);
        add_cell(lo - 1, row, P_leftturn);
    }
    draw_line(lo - 1, f + 1, lo - 1, row - 1, line_kind::plain_vertical);
    if (j == 3) {
        // The loop follows the start symbol: the back edge ends in an arrow into it.
        back_edge_into(d, f, lo);
    } else {
        add_cell(lo - 1, f, P_leftupturn);
        draw_line(lo, f, d - 1, f, line_kind::plain_horizontal);
    }
    current_row_ = row + 1;
    add_cell(d, current_row_, loop.exit_arrow);
    current_row_ += 1;
    return true;
}

}  // namespace tarnwell
