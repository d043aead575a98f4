#include "layout/export_layout.h"

#include <algorithm>
#include <functional>

#include "layout/layout_rules.h"

namespace tarnwell {

namespace {

constexpr std::size_t no_connector = static_cast<std::size_t>(-1);

std::uint64_t place_key(int column, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) |
           static_cast<std::uint32_t>(row);
}

// Cells that the flow does not leave downwards: no connector below them.
struct flow_end {
    std::uint8_t opening;
    int code;
};

constexpr flow_end flow_ends[] = {
    {item_return, export_return},     {item_exit, export_exit}, {item_break, export_break},
    {item_continue, export_continue}, {item_goto, export_goto},
};

// clang-format off
constexpr struct {
    std::uint8_t opening;
    std::uint8_t closing;
    int head;
    int entry_code;
    int exit_code;
} loops_tested_before[] = {
    {item_for,     item_end_for,     export_for_head,   export_true_line,  export_false_line},
    {item_whiledo, item_end_whiledo, export_while_test, export_true_line,  export_false_line},
    {item_untildo, item_end_untildo, export_until_test, export_false_line, export_true_line},
};

constexpr struct {
    std::uint8_t opening;
    std::uint8_t closing;
    int test;
    int back_code;
    int exit_code;
} loops_tested_after[] = {
    {item_dountil, item_end_dountil, export_until_test, export_false_line, export_true_line},
    {item_dowhile, item_end_dowhile, export_while_test, export_true_line,  export_false_line},
};
// clang-format on

}  // namespace

std::size_t export_layout::measure_key_hash::operator()(const measure_key& key) const {
    return std::hash<std::uint64_t>()(place_key(key.position, key.level));
}

void export_layout::extent::widen(int column) {
    lowest = std::min(lowest, column);
    highest = std::max(highest, column);
}

// The lists

void export_layout::add_export_cell(int column, int row, int code) {
    add_cell_with_text(column, row, code, engine_.item.text);
}

void export_layout::add_cell_with_text(int column, int row, int code, const std::string& range) {
    if (!lists_->cell_places.insert(place_key(column, row)).second) return;
    lists_->out.cells.push_back({column, row, code, range});
}

void export_layout::add_connector(int column1, int row1, anchor anchor1, int column2, int row2,
                                  anchor anchor2, int code) {
    lists& l = *lists_;
    const std::uint64_t from = place_key(column1, row1);
    const auto first = l.first_from.find(from);
    if (first != l.first_from.end()) {
        for (std::size_t i = first->second; i != no_connector; i = l.next_from[i]) {
            const export_connector& c = l.out.connectors[i];
            if (c.first_anchor == anchor1 && c.second_column == column2 && c.second_row == row2 &&
                c.second_anchor == anchor2) {
                return;
            }
        }
    }
    const std::size_t index = l.out.connectors.size();
    l.out.connectors.push_back({column1, row1, anchor1, column2, row2, anchor2, code});
    const auto [from_head, from_new] = l.first_from.try_emplace(from, index);
    l.next_from.push_back(from_new ? no_connector : from_head->second);
    from_head->second = index;
    const auto [to_head, to_new] = l.first_to.try_emplace(place_key(column2, row2), index);
    l.next_to.push_back(to_new ? no_connector : to_head->second);
    to_head->second = index;
}

bool export_layout::retarget(int column, int row, int new_column, int new_row, anchor new_anchor) {
    lists& l = *lists_;
    const auto found = l.first_to.find(place_key(column, row));
    if (found == l.first_to.end()) return false;
    const std::size_t head = found->second;
    std::size_t last = head;
    for (std::size_t i = head; i != no_connector; i = l.next_to[i]) {
        export_connector& c = l.out.connectors[i];
        c.second_column = new_column;
        c.second_row = new_row;
        c.second_anchor = new_anchor;
        last = i;
    }
    if (new_column == column && new_row == row) return true;
    // The chain of the old place goes in front of the chain of the new one.
    l.first_to.erase(found);
    const auto [target, fresh] = l.first_to.try_emplace(place_key(new_column, new_row), head);
    if (!fresh) {
        l.next_to[last] = target->second;
        target->second = head;
    }
    return true;
}

// The connector points at the place where the next cell will go; `retarget` moves it when that
// place changes.
void export_layout::step_down(int code) {
    current_row_ += 1;
    add_connector(current_column_, current_row_ - 1, anchor::bottom, current_column_,
                  current_row_ + 1, anchor::top, code);
    current_row_ += 1;
}

void export_layout::append(const lists& trial_lists) {
    for (const export_cell& cell : trial_lists.out.cells) {
        add_cell_with_text(cell.column, cell.row, cell.code, cell.range);
    }
    for (const export_connector& c : trial_lists.out.connectors) {
        add_connector(c.first_column, c.first_row, c.first_anchor, c.second_column, c.second_row,
                      c.second_anchor, c.code);
    }
}

// The layout

bool export_layout::make_cells(int level, export_cells& out) {
    std::string& markup = engine_.markup;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(markup.begin(), markup.end(), blank);
    const auto last = std::find_if_not(markup.rbegin(), markup.rend(), blank).base();
    markup = first < last ? std::string(first, last) : std::string();
    markup += '\001';

    lists main_lists;
    // A chart has about one cell for every twenty characters of markup; a markup that is
    // mostly junk text must not reserve much.
    constexpr std::size_t most_reserved = std::size_t{1} << 16;
    const std::size_t expected = std::min(markup.size() / 20, most_reserved);
    main_lists.out.cells.reserve(expected);
    main_lists.out.connectors.reserve(expected);
    main_lists.cell_places.reserve(expected);
    main_lists.first_from.reserve(expected);
    main_lists.first_to.reserve(expected);
    main_lists.next_from.reserve(expected);
    main_lists.next_to.reserve(expected);
    lists_ = &main_lists;
    measuring_ = false;
    nesting_ = 0;
    measures_.clear();
    out = export_cells();
    engine_.item.position = 1;
    engine_.read_item();
    if (engine_.item.code != item_statement) return false;

    lowest_column_ = highest_column_ = current_column_ = 100;
    current_row_ = 1;
    add_cell_with_text(100, 1, export_start, "1-2");
    step_down(export_plain_line);
    const bool laid_out = layout_cells(100, 3, level);
    add_export_cell(current_column_, current_row_, export_end);
    current_row_ += 1;
    main_lists.out.column_count = highest_column_ - lowest_column_ + 4;
    main_lists.out.row_count = current_row_ + 2;
    main_lists.out.column_offset = lowest_column_ - 1;
    out = std::move(main_lists.out);
    measures_.clear();
    lists_ = nullptr;
    // A layout that stopped at a fault fails even where the reader then stands at the end.
    engine_.next_item();
    return laid_out && engine_.item.code == item_end_of_markup;
}

// Sequences, and the measures that spare laying a branch out twice

bool export_layout::layout_cells(int column, int row, int level) {
    if (!measuring_) return lay_out_sequence(column, row, level);
    // While a sequence is measured, the sequences nested in it are taken from their own
    // measures. Of what they place, the enclosing layout reads back only whether a connector
    // of theirs points at the place after them (a loop's back edge is drawn only then), so
    // one connector standing for that is all they add.
    const measure* nested = trial(column, row, level);
    if (nested == nullptr) return false;
    if (nested->flows_out) {
        add_connector(current_column_, current_row_, anchor::bottom, current_column_, current_row_,
                      anchor::top, export_plain_line);
    }
    return true;
}

// The sequence whose `<statement>` is the current item, as laid out at (column, row): the
// reader, the current place and the extent end as its layout leaves them; nothing is placed.
const export_layout::measure* export_layout::trial(int column, int row, int level) {
    const measure& m = measured(level);
    if (!m.ok) return nullptr;
    engine_.item = m.end;
    current_column_ = column;
    current_row_ = row + m.rows;
    lowest_column_ = column + m.lowest;
    highest_column_ = column + m.highest;
    return &m;
}

// A sequence laid out on lists of its own lays out the same wherever it starts, so each one is
// measured once per level code: laid out at column 0, row 0.
const export_layout::measure& export_layout::measured(int level) {
    const measure_key key{engine_.item.position, level};
    if (const auto found = measures_.find(key); found != measures_.end()) return found->second;

    const markup_item start = engine_.item;
    const int column = current_column_;
    const int row = current_row_;
    const int lowest = lowest_column_;
    const int highest = highest_column_;
    lists* const outer_lists = lists_;
    const bool measuring = measuring_;

    lists own;
    lists_ = &own;
    measuring_ = true;
    measure m;
    m.ok = lay_out_sequence(0, 0, level);
    if (m.ok) {
        m.end = engine_.item;
        m.rows = current_row_;
        m.lowest = lowest_column_;
        m.highest = highest_column_;
        m.flows_out = own.first_to.contains(place_key(current_column_, current_row_));
    }

    engine_.item = start;
    current_column_ = column;
    current_row_ = row;
    lowest_column_ = lowest;
    highest_column_ = highest;
    lists_ = outer_lists;
    measuring_ = measuring;
    return measures_.emplace(key, std::move(m)).first->second;
}

// A branch laid out as its trial lays it out, on lists of its own that are then added to the
// layout's: what a conditional that fails in its trials leaves behind.
bool export_layout::kept_trial(int column, int row, int level) {
    lists trial_lists;
    lists* const outer_lists = lists_;
    lists_ = &trial_lists;
    const bool ok = lay_out_sequence(column, row, level);
    lists_ = outer_lists;
    append(trial_lists);
    return ok;
}

// Goes through a conditional's trials again, from its `<if>` up to where they fail, keeping
// what they place. Gives false, the result of the conditional.
bool export_layout::keep_trials(const markup_item& at_if, int d, int f, int level) {
    if (measuring_) return false;
    engine_.item = at_if;
    engine_.next_item();
    if (!kept_trial(d - 1, f + 1, level)) return false;
    engine_.next_item();
    if (engine_.item.code == item_statement) kept_trial(d + 1, f + 1, level);
    return false;
}

bool export_layout::lay_out_sequence(int c, int r, int level) {
    if (nesting_ >= txml2script::max_nesting) return false;
    const nesting_count count(nesting_);
    const int nested = level == 0 ? 0 : level - 1;
    extent sequence{c, c};
    current_column_ = c;
    current_row_ = r;

    if (level == 1) {
        if (!engine_.skip_block(item_end_statement)) return false;
        add_export_cell(c, r, export_sequence);
        step_down(export_plain_line);
        lowest_column_ = highest_column_ = c;
        return true;
    }

    for (;;) {
        engine_.next_item();
        const std::uint8_t code = engine_.item.code;
        bool ok = true;
        if (code == item_end_statement) {
            lowest_column_ = sequence.lowest;
            highest_column_ = sequence.highest;
            return true;
        }
        if (code == item_end_of_markup) return false;
        if (code == item_code || code == item_label) {
            add_export_cell(current_column_, current_row_,
                            code == item_code ? export_statements : export_label);
            step_down(export_plain_line);
        } else if (const flow_end* end = opened_by(flow_ends, code)) {
            add_export_cell(current_column_, current_row_, end->code);
            current_row_ += 2;
        } else if (code == item_except) {
            ok = collapsed(export_except, item_end_except);
        } else if (const collapsed_construct* compound = opened_by(collapsed_constructs, code)) {
            if (level == 2) {
                ok = collapsed(compound->collapsed_code, compound->closing);
            } else if (code == item_if) {
                ok = conditional(nested, sequence);
            } else if (code == item_switch) {
                ok = selection(nested, sequence);
            } else if (const auto* before = opened_by(loops_tested_before, code)) {
                ok = loop_tested_before(before->head, before->entry_code, before->exit_code,
                                        before->closing, nested, sequence);
            } else {
                const auto* after = opened_by(loops_tested_after, code);
                ok = loop_tested_after(after->test, after->back_code, after->exit_code,
                                       after->closing, nested, sequence);
            }
        }
        // Anything else (an unknown tag, a stray character, a comment, a label or closing item
        // out of place) is passed over.
        if (!ok) return false;
    }
}

bool export_layout::collapsed(int code, std::uint8_t closing_code) {
    if (!engine_.skip_block(closing_code)) return false;
    add_export_cell(current_column_, current_row_, code);
    step_down(export_plain_line);
    return true;
}

// The conditional

bool export_layout::conditional(int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    add_export_cell(d, f, export_if);
    const markup_item at_if = engine_.item;
    engine_.next_item();
    if (engine_.item.code != item_statement) return false;

    // Trials measure the branches: the first one's rightmost column is to be d - 1, the
    // second one's leftmost d + 1.
    if (trial(d - 1, f + 1, level) == nullptr) return keep_trials(at_if, d, f, level);
    const int left = 2 * d - 2 - highest_column_;
    const int first_end = current_row_ - 1;
    engine_.next_item();
    if (engine_.item.code == item_end_if) return without_else(at_if, d, f, level, sequence);
    if (engine_.item.code != item_statement) return keep_trials(at_if, d, f, level);
    if (trial(d + 1, f + 1, level) == nullptr) return keep_trials(at_if, d, f, level);
    const int right = 2 * d + 2 - lowest_column_;
    const int second_end = current_row_ - 1;
    const int join_row = std::max(first_end, second_end) + 1;
    engine_.item = at_if;

    if (!branch(left, d, f, anchor::left, export_true_line, join_row, level, sequence) ||
        !branch(right, d, f, anchor::right, export_false_line, join_row, level, sequence)) {
        return false;
    }
    engine_.next_item();
    if (engine_.item.code != item_end_if) return false;
    current_column_ = d;
    current_row_ = join_row;
    return true;
}

// A branch of a conditional with else, from a side of the head at (d, f) down its column; its
// flow goes on to the top of the cell that follows the conditional.
bool export_layout::branch(int column, int d, int f, anchor side, int code, int join_row, int level,
                           extent& sequence) {
    add_connector(d, f, side, column, f + 1, anchor::top, code);
    engine_.next_item();
    if (engine_.item.code != item_statement) return false;
    if (!layout_cells(column, f + 1, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    retarget(current_column_, current_row_, d, join_row, anchor::top);
    return true;
}

// The true branch goes straight down; the false path leaves the head's right side for a
// junction right of the branch and comes back into the cell that follows.
bool export_layout::without_else(const markup_item& at_if, int d, int f, int level,
                                 extent& sequence) {
    engine_.item = at_if;
    current_column_ = d;
    current_row_ = f;
    step_down(export_true_line);
    engine_.next_item();
    if (engine_.item.code != item_statement) return false;
    if (!layout_cells(d, f + 2, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int h = highest_column_;
    engine_.next_item();
    if (engine_.item.code != item_end_if) return false;
    sequence.widen(h + 1);
    const int row = current_row_;
    add_export_cell(h + 1, row - 1, export_junction);
    add_connector(d, f, anchor::right, h + 1, row - 1, anchor::top, export_false_line);
    add_connector(h + 1, row - 1, anchor::left, d, row, anchor::top, export_false_line);
    return true;
}

// The selection: labels and their branches one below the other in the head's column, and a
// junction right of them from which a connector goes into each label.
bool export_layout::selection(int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    const int slot = engine_.parser_slot;
    int rightmost = d;
    std::vector<int> label_rows;
    add_export_cell(d, f, export_switch_head);
    current_row_ = f + 2;
    engine_.next_item();
    while (engine_.item.code != item_end_switch) {
        const std::uint8_t label = engine_.item.code;
        if (label != item_case && label != item_else) return false;
        label_rows.push_back(current_row_);
        add_export_cell(d, current_row_, label == item_case ? export_case : export_default);
        step_down(export_plain_line);
        engine_.next_item();
        if (engine_.item.code != item_statement) return false;
        if (!layout_cells(d, current_row_, level)) return false;
        sequence.widen(lowest_column_);
        sequence.widen(highest_column_);
        rightmost = std::max(rightmost, highest_column_);
        if (basic_like_selection(slot)) {
            add_export_cell(d, current_row_, export_switch_end);
            current_row_ += 2;
        }
        engine_.next_item();
    }

    if (closes_selection_below(slot)) {
        add_export_cell(d, current_row_, export_switch_end);
        step_down(export_plain_line);
    } else if (basic_like_selection(slot)) {
        add_connector(d, current_row_ - 2, anchor::bottom, d, current_row_, anchor::top,
                      export_plain_line);
    }
    sequence.widen(rightmost + 1);
    add_export_cell(rightmost + 1, f + 1, export_junction);
    add_connector(d, f, anchor::bottom, rightmost + 1, f + 1, anchor::left, export_plain_line);
    for (const int m : label_rows) {
        add_connector(rightmost + 1, f + 1, anchor::bottom, d, m, anchor::right, export_plain_line);
    }
    return true;
}

// Loops

// The head with the body below it; the back edge from a junction left of the body's end into
// the head's left side, the exit from the head's right side to a junction right of the body
// and back under it.
bool export_layout::loop_tested_before(int head, int entry_code, int exit_code,
                                       std::uint8_t closing, int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    add_export_cell(d, f, head);
    step_down(entry_code);
    engine_.next_item();
    if (engine_.item.code != item_statement) return false;
    if (!layout_cells(d, current_row_, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int lo = lowest_column_;
    const int hi = highest_column_;
    engine_.next_item();
    if (engine_.item.code != closing) return false;

    const int row = current_row_;
    if (retarget(current_column_, row, lo - 1, row - 1, anchor::right)) {
        sequence.widen(lo - 1);
        add_export_cell(lo - 1, row - 1, export_junction);
        add_connector(lo - 1, row - 1, anchor::top, d, f, anchor::left, export_plain_line);
    }
    sequence.widen(hi + 1);
    add_export_cell(hi + 1, row, export_junction);
    add_connector(d, f, anchor::right, hi + 1, row, anchor::top, exit_code);
    add_connector(hi + 1, row, anchor::left, d, row + 1, anchor::top, exit_code);
    current_row_ = row + 1;
    return true;
}

// The body first, the test below it, the back edge from the test's left side up to the top of
// the body, and the exit below the test.
bool export_layout::loop_tested_after(int test, int back_code, int exit_code, std::uint8_t closing,
                                      int level, extent& sequence) {
    const int d = current_column_;
    const int f = current_row_;
    engine_.next_item();
    if (engine_.item.code != item_statement) return false;
    if (!layout_cells(d, f, level)) return false;
    sequence.widen(lowest_column_);
    sequence.widen(highest_column_);
    const int lo = lowest_column_;
    engine_.next_item();
    if (engine_.item.code != closing) return false;

    const int row = current_row_;
    add_export_cell(d, row, test);
    if (lo == d) {
        add_connector(d, row, anchor::left, d, f, anchor::top, back_code);
    } else {
        add_export_cell(lo - 1, row, export_junction);
        add_connector(d, row, anchor::left, lo - 1, row, anchor::right, back_code);
        add_connector(lo - 1, row, anchor::top, d, f, anchor::top, back_code);
    }
    sequence.widen(lo - 1);
    step_down(exit_code);
    return true;
}

}  // namespace tarnwell
