#include "layout/cell_script.h"

#include <algorithm>
#include <optional>
#include <span>

namespace tarnwell {

namespace {

// What a merge rule does to the cell it finds.
enum class change_kind : std::uint8_t { keep, rename, rename_with_item_text, remove, add, walk };

struct change {
    change_kind kind;
    symbol name;
};

constexpr change becomes(symbol s) {
    return {change_kind::rename, s};
}
// Renamed, and its range text becomes the current item text.
constexpr change becomes_with_item_text(symbol s) {
    return {change_kind::rename_with_item_text, s};
}
constexpr change new_cell(symbol s) {
    return {change_kind::add, s};
}
constexpr change unchanged{change_kind::keep, symbol::none};
constexpr change nothing{change_kind::keep, symbol::none};
constexpr change removed{change_kind::remove, symbol::none};
constexpr change the_walk{change_kind::walk, symbol::none};

// The line a rule draws from the cell: right for modes 0 and 1, left for modes 2 and 3.
enum class merge_line : std::uint8_t { no_line, plain, crossing, rerouting };
using enum merge_line;

using enum symbol;

// clang-format off
// Modes 0 and 3, and the one cell of a crossing line (mode 6).
struct cell_rule {
    symbol holds;
    change cell;
    merge_line line;
    int result;
};

// Mode 0: the false path of a conditional without else joins the bottom cell of its true
// branch from the right.
constexpr cell_rule false_path_rules[] = {
    // cell holds           cell becomes                                   line right
    {P_downarrow,           becomes_with_item_text(p_leftanddownarrow),    plain,    1},
    {none,                  new_cell(p_leftdownturnarrow),                 plain,    1},
    {p_rightdownturnarrow,  becomes(p_threearrow),                         plain,    1},
    {P_truearrow,           becomes(P_lefttruearrow),                      plain,    1},
    {P_falsearrow,          becomes(P_leftfalsearrow),                     plain,    1},
    {p_leftdownturnarrow,   unchanged,                                     crossing, 1},
    {p_leftanddownarrow,    unchanged,                                     crossing, 1},
    {p_threearrow,          unchanged,                                     crossing, 1},
    {P_lefttruearrow,       unchanged,                                     crossing, 1},
    {P_leftfalsearrow,      unchanged,                                     crossing, 1},
};

// Mode 3: the bottom cell of a loop body tested before the body turns left into the back edge.
constexpr cell_rule loop_bottom_rules[] = {
    // cell holds           cell becomes                 line left
    {P_downarrow,           becomes(P_rightturn),        plain,    1},
    {none,                  nothing,                     no_line,     0},
    {p_leftdownturnarrow,   becomes(P_hline),            plain,    1},
    {p_leftanddownarrow,    becomes(p_connect),          plain,    1},
    {p_rightdownturnarrow,  removed,                     crossing, 1},
    {p_threearrow,          becomes(P_hline),            crossing, 1},
    {P_truearrow,           becomes(p_rightturnuptrue),  plain,    1},
    {P_falsearrow,          becomes(p_rightturnupfalse), plain,    1},
    {P_lefttruearrow,       becomes(p_connecttrue),      plain,    1},
    {P_leftfalsearrow,      becomes(p_connecfalse),      plain,    1},
};

// Mode 4: the cell above a loop tested after the body, where the back edge joins from the
// left. The result places the junction: 1 this cell, 0 this cell which was empty, 2 a new row
// below, 3 the start symbol.
constexpr cell_rule junction_rules[] = {
    // cell holds              cell becomes                   result
    {P_downarrow,              becomes(p_rightanddownarrow),  no_line, 1},
    {none,                     new_cell(p_rightdownturnarrow), no_line, 0},
    {p_leftdownturnarrow,      becomes(p_connectarrow),       no_line, 1},
    {p_leftanddownarrow,       becomes(p_threearrow),         no_line, 1},
    {p_leftdownturntruearrow,  becomes(p_connecttruearrow),   no_line, 1},
    {p_rightdownturnarrow,     becomes(P_rightdownturn),      no_line, 2},
    {p_threearrow,             becomes(p_leftandrightarrow),  no_line, 2},
    {P_truearrow,              becomes(p_truehline),          no_line, 2},
    {P_falsearrow,             becomes(p_falsehline),         no_line, 2},
    {P_lefttruearrow,          becomes(p_lefttruehline),      no_line, 2},
    {P_leftfalsearrow,         becomes(p_leftfalsehline),     no_line, 2},
    {p_rightanddownarrow,      becomes(p_rightarrowhline),    no_line, 2},
    {p_start,                  unchanged,                     no_line, 3},
};

// Mode 6: one cell of a crossing line; a vertical flow that ends here now meets the line.
constexpr cell_rule crossing_rules[] = {
    {none,         new_cell(P_hline),  no_line, 1},
    {P_leftturn,   becomes(p_connect), no_line, 1},
    {P_rightturn,  becomes(p_connect), no_line, 1},
};

// Modes 1 and 2: the bottom cell of the left (true) or right (false) branch of a conditional
// with else. At the merge row the flow turns towards the join; above it the piece loses its
// arrowhead because a vertical line continues below.
struct branch_rule {
    symbol holds;
    change at_merge_row;
    merge_line line_at_merge_row;
    change above_merge_row;
    int result;
};

constexpr branch_rule left_branch_rules[] = {
    // cell holds           at the merge row: becomes, line right         above: becomes
    {P_downarrow,           becomes(P_leftturn),      plain,        becomes(P_vline),            1},
    {none,                  nothing,                  no_line,         nothing,                     0},
    {p_leftdownturnarrow,   removed,                  rerouting,    becomes(P_leftupturn),       1},
    {p_leftanddownarrow,    becomes(P_leftturn),      crossing,     becomes(p_rightcrossarrow),  1},
    {p_rightdownturnarrow,  becomes(P_hline),         plain,        becomes(P_rightdownturn),    1},
    {p_threearrow,          becomes(P_hline),         crossing,     becomes(p_leftandrightarrow), 1},
    {P_truearrow,           becomes(p_leftturntrue),  plain,        becomes(p_truehline),        1},
    {P_falsearrow,          becomes(p_leftturnfalse), plain,        becomes(p_falsehline),       1},
    {P_lefttruearrow,       becomes(p_leftturntrue),  crossing,     becomes(p_lefttruehline),    1},
    {P_leftfalsearrow,      becomes(p_leftturnfalse), crossing,     becomes(p_leftfalsehline),   1},
};

constexpr branch_rule right_branch_rules[] = {
    // cell holds           at the merge row: becomes, line left            above: becomes
    {P_downarrow,           becomes(P_rightturn),        plain,       becomes(P_vline),            1},
    {none,                  nothing,                     no_line,        nothing,                     0},
    {p_leftdownturnarrow,   becomes(P_hline),            plain,       becomes(P_leftupturn),       1},
    {p_leftanddownarrow,    becomes(p_connect),          plain,       becomes(p_rightcrossarrow),  1},
    {p_rightdownturnarrow,  the_walk,                    no_line,        becomes(P_rightdownturn),    1},
    {p_threearrow,          becomes(P_hline),            crossing,    becomes(p_leftandrightarrow), 1},
    {P_truearrow,           becomes(p_rightturnuptrue),  plain,       becomes(p_truehline),        1},
    {P_falsearrow,          becomes(p_rightturnupfalse), plain,       becomes(p_falsehline),       1},
    {P_lefttruearrow,       becomes(p_connecttrue),      plain,       becomes(p_lefttruehline),    1},
    {P_leftfalsearrow,      becomes(p_connecfalse),      plain,       becomes(p_leftfalsehline),   1},
};

// Mode 8: one cell of a rerouting line, before the turn has been found (argument 0) and
// after it (argument 1).
struct rerouting_rule {
    symbol holds;
    change before_turn;
    int result_before_turn;
    change after_turn;
};

constexpr rerouting_rule rerouting_rules[] = {
    // cell holds   argument 0                     argument 1
    {p_connect,     unchanged,            3,       unchanged},
    {none,          new_cell(P_hline),    1,       new_cell(P_hline)},
    {P_hline,       removed,              1,       unchanged},
    {P_rightturn,   becomes(P_leftturn),  3,       becomes(p_connect)},
};

// clang-format on

// The row of a table for the cell a position holds; nullptr for a name the table does not
// list, which stays unchanged with no line drawn and gives 1.
template <typename Rule>
const Rule* rule_for(std::span<const Rule> table, symbol holds) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const Rule& rule) { return rule.holds == holds; });
    return found == table.end() ? nullptr : &*found;
}

// What one merge does: the change to the cell, the line from it, and the result.
struct merge_step {
    change cell;
    merge_line line;
    bool rightwards;  // a line right (modes 0 and 1) or a line left (modes 2 and 3)
    int result;
};

std::optional<merge_step> step_of(const cell_rule* rule, bool rightwards) {
    if (rule == nullptr) return std::nullopt;
    return merge_step{rule->cell, rule->line, rightwards, rule->result};
}

std::optional<merge_step> merge_rule(int mode, int argument, int row, symbol holds) {
    switch (mode) {
        case 0:
            return step_of(rule_for<cell_rule>(false_path_rules, holds), true);
        case 1:
        case 2: {
            const branch_rule* rule =
                rule_for<branch_rule>(mode == 1 ? left_branch_rules : right_branch_rules, holds);
            if (rule == nullptr) return std::nullopt;
            if (row == argument) {
                return merge_step{rule->at_merge_row, rule->line_at_merge_row, mode == 1,
                                  rule->result};
            }
            return merge_step{rule->above_merge_row, no_line, mode == 1, rule->result};
        }
        case 3:
            return step_of(rule_for<cell_rule>(loop_bottom_rules, holds), false);
        case 4:
            return step_of(rule_for<cell_rule>(junction_rules, holds), false);
        case 6:
            return step_of(rule_for<cell_rule>(crossing_rules, holds), false);
        case 8: {
            const rerouting_rule* rule = rule_for<rerouting_rule>(rerouting_rules, holds);
            if (rule == nullptr) return std::nullopt;
            if (argument == 0) {
                return merge_step{rule->before_turn, no_line, false, rule->result_before_turn};
            }
            return merge_step{rule->after_turn, no_line, false, 1};
        }
        default:
            return std::nullopt;
    }
}

line_kind kind_of(merge_line l) {
    switch (l) {
        case crossing:
            return line_kind::crossing;
        case rerouting:
            return line_kind::rerouting;
        default:
            return line_kind::plain_horizontal;
    }
}

}  // namespace

cell_script::cell* cell_script::earliest(int column, int row) {
    const position_cells* found = positions_.find(column, row);
    return found == nullptr ? nullptr : &cells_[static_cast<std::size_t>(found->first)];
}

const cell_script::cell* cell_script::earliest(int column, int row) const {
    const position_cells* found = positions_.find(column, row);
    return found == nullptr ? nullptr : &cells_[static_cast<std::size_t>(found->first)];
}

void cell_script::reserve(std::size_t cells) {
    cells_.reserve(cells);
    positions_.reserve(cells);
}

void cell_script::clear() {
    cells_.clear();
    positions_.clear();
}

void cell_script::add_cell(int column, int row, symbol name, std::string_view text) {
    const auto index = static_cast<std::int32_t>(cells_.size());
    cells_.push_back({column, row, name, false, -1, std::string(text)});
    const auto [here, fresh] = positions_.add(column, row, position_cells{index, index});
    if (!fresh) {
        cells_[static_cast<std::size_t>(here->last)].next_here = index;
        here->last = index;
    }
}

symbol cell_script::cell_name(int column, int row) const {
    const cell* found = earliest(column, row);
    return found == nullptr ? symbol::none : found->name;
}

void cell_script::set_cell(int column, int row, symbol name) {
    if (cell* found = earliest(column, row)) found->name = name;
}

void cell_script::set_cell(int column, int row, symbol name, std::string_view text) {
    if (cell* found = earliest(column, row)) {
        found->name = name;
        found->text = std::string(text);
    }
}

void cell_script::remove_cell(int column, int row) {
    position_cells* found = positions_.find(column, row);
    if (found == nullptr) return;
    cell& first = cells_[static_cast<std::size_t>(found->first)];
    first.removed = true;
    if (first.next_here < 0) {
        positions_.erase(column, row);
    } else {
        found->first = first.next_here;
    }
}

void cell_script::draw_line(int x1, int y1, int x2, int y2, line_kind kind,
                            const cell_context& context) {
    if (kind == line_kind::plain_vertical) {
        if (x1 != x2 || y1 > y2) return;
        for (int y = y1; y <= y2; ++y) add_cell(x1, y, P_vline, context.item_text);
        return;
    }
    if (y1 != y2 || x1 > x2) return;
    int argument = 0;
    for (int x = x1; x <= x2; ++x) {
        switch (kind) {
            case line_kind::plain_horizontal:
                add_cell(x, y1, P_hline, context.item_text);
                break;
            case line_kind::crossing:
                merge_cell(x, y1, 6, 0, context);
                break;
            case line_kind::rerouting:
                // Argument 0 until the turn is found, 1 from the next cell on.
                if (merge_cell(x, y1, 8, argument, context) == 3) argument = 1;
                break;
            case line_kind::plain_vertical:
                break;
        }
    }
}

int cell_script::merge_cell(int column, int row, int mode, int argument,
                            const cell_context& context) {
    const std::optional<merge_step> step = merge_rule(mode, argument, row, cell_name(column, row));
    if (!step) return 1;
    switch (step->cell.kind) {
        case change_kind::keep:
            break;
        case change_kind::rename:
            set_cell(column, row, step->cell.name);
            break;
        case change_kind::rename_with_item_text:
            set_cell(column, row, step->cell.name, context.item_text);
            break;
        case change_kind::remove:
            remove_cell(column, row);
            break;
        case change_kind::add:
            add_cell(column, row, step->cell.name, context.item_text);
            break;
        case change_kind::walk:
            walk_left(column, row, context);
            break;
    }
    if (step->line != no_line) {
        const line_kind kind = kind_of(step->line);
        if (step->rightwards) {
            draw_line(column + 1, row, context.highest_column, row, kind, context);
        } else {
            draw_line(context.lowest_column, row, column - 1, row, kind, context);
        }
    }
    return step->result;
}

// Mode 2 on `p_rightdownturnarrow` at the merge row: the join of an inner conditional that
// only its left branch feeds. That flow now turns left where it came in from the left: the
// horizontal pieces that led into the join go, the corner it turned at turns the other way,
// and from there on the line is a crossing line.
void cell_script::walk_left(int column, int row, const cell_context& context) {
    remove_cell(column, row);
    int x = column - 1;
    for (; x >= context.lowest_column; --x) {
        if (cell_name(x, row) != P_hline) {
            set_cell(x, row, P_rightturn);
            break;
        }
        remove_cell(x, row);
    }
    draw_line(context.lowest_column, row, x - 1, row, line_kind::crossing, context);
}

void cell_script::append(const cell_script& later) {
    for (const cell& c : later.cells_) {
        if (!c.removed) add_cell(c.column, c.row, c.name, c.text);
    }
}

void cell_script::collect(std::vector<grid_cell>& out) const {
    out.reserve(out.size() + cells_.size());
    for (const cell& c : cells_) {
        if (!c.removed) out.push_back({c.column, c.row, std::string(symbol_name(c.name)), c.text});
    }
}

}  // namespace tarnwell
