#include "reference_export_layout.h"

#include <algorithm>

namespace tarnwell::testing {

namespace {

constexpr anchor top = anchor::top;
constexpr anchor bottom = anchor::bottom;
constexpr anchor left = anchor::left;
constexpr anchor right = anchor::right;

}  // namespace

void reference_export_layout::add_export_cell(int column, int row, int code,
                                              const std::string& text) {
    for (const export_cell& cell : out_.cells) {
        if (cell.column == column && cell.row == row) return;
    }
    out_.cells.push_back({column, row, code, text});
}

void reference_export_layout::add_connector(int c1, int r1, anchor a1, int c2, int r2, anchor a2,
                                            int code) {
    for (const export_connector& c : out_.connectors) {
        if (c.first_column == c1 && c.first_row == r1 && c.first_anchor == a1 &&
            c.second_column == c2 && c.second_row == r2 && c.second_anchor == a2) {
            return;
        }
    }
    out_.connectors.push_back({c1, r1, a1, c2, r2, a2, code});
}

bool reference_export_layout::retarget(int column, int row, int new_column, int new_row,
                                       anchor new_anchor) {
    bool changed = false;
    for (export_connector& c : out_.connectors) {
        if (c.second_column == column && c.second_row == row) {
            c.second_column = new_column;
            c.second_row = new_row;
            c.second_anchor = new_anchor;
            changed = true;
        }
    }
    return changed;
}

void reference_export_layout::step_down(int code) {
    row_ += 1;
    add_connector(column_, row_ - 1, bottom, column_, row_ + 1, top, code);
    row_ += 1;
}

void reference_export_layout::merge(const export_cells& trial) {
    for (const export_cell& cell : trial.cells) {
        add_export_cell(cell.column, cell.row, cell.code, cell.range);
    }
    for (const export_connector& c : trial.connectors) {
        add_connector(c.first_column, c.first_row, c.first_anchor, c.second_column, c.second_row,
                      c.second_anchor, c.code);
    }
}

bool reference_export_layout::make_cells(int level) {
    out_ = export_cells();
    nesting_ = 0;
    std::size_t first = 0;
    while (first < markup.size() && static_cast<unsigned char>(markup[first]) <= 32) ++first;
    std::size_t end = markup.size();
    while (end > first && static_cast<unsigned char>(markup[end - 1]) <= 32) --end;
    markup = markup.substr(first, end - first) + "\001";
    position_ = 1;
    read_item();
    if (code_ != 0) return false;
    lowest_ = highest_ = column_ = 100;
    row_ = 1;
    add_export_cell(100, 1, 0, "1-2");
    row_ = 2;
    add_connector(100, 1, bottom, 100, 3, top, 27);
    row_ = 3;
    const bool laid_out = layout_cells(100, 3, level);
    add_export_cell(column_, row_, 12);
    row_ += 1;
    out_.column_count = highest_ - lowest_ + 4;
    out_.row_count = row_ + 2;
    out_.column_offset = lowest_ - 1;
    next_item();
    return laid_out && code_ == 28;
}

bool reference_export_layout::layout_cells(int c, int r, int level) {
    if (nesting_ >= 1000) return false;
    ++nesting_;
    const auto done = [&](bool ok) {
        --nesting_;
        return ok;
    };
    const int nested = level == 0 ? 0 : level - 1;
    int lowest = c;
    int highest = c;
    column_ = c;
    row_ = r;
    if (level == 1) {
        if (!skip_block(1)) return done(false);
        add_export_cell(c, r, 1);
        step_down(27);
        lowest_ = highest_ = c;
        return done(true);
    }
    for (;;) {
        next_item();
        const std::uint8_t code = code_;
        bool ok = true;
        if (code == 1) {
            lowest_ = lowest;
            highest_ = highest;
            return done(true);
        }
        if (code == 28) return done(false);
        const int collapsed = code == 9    ? 24
                              : code == 11 ? 19
                              : code == 15 ? 10
                              : code == 17 ? 13
                              : code == 19 ? 17
                              : code == 21 ? 15
                              : code == 23 ? 18
                                           : -1;
        const int alone = code == 7   ? 3
                          : code == 8 ? 4
                          : code == 2 ? 5
                          : code == 6 ? 6
                          : code == 5 ? 8
                                      : -1;
        if (code == 27) {
            add_export_cell(column_, row_, 2);
            step_down(27);
        } else if (code == 4) {
            add_export_cell(column_, row_, 7);
            step_down(27);
        } else if (alone >= 0) {
            add_export_cell(column_, row_, alone);
            row_ += 2;
        } else if (code == 25) {
            ok = skip_block(26);
            if (ok) {
                add_export_cell(column_, row_, 9);
                step_down(27);
            }
        } else if (collapsed >= 0 && level == 2) {
            ok = skip_block(static_cast<std::uint8_t>(code + (code == 11 ? 3 : 1)));
            if (ok) {
                add_export_cell(column_, row_, collapsed);
                step_down(27);
            }
        } else if (code == 9) {
            ok = conditional(nested, lowest, highest);
        } else if (code == 11) {
            ok = selection(nested, lowest, highest);
        } else if (code == 15 || code == 23 || code == 19) {
            ok = loop_before(static_cast<std::uint8_t>(code + 1), nested, lowest, highest);
        } else if (code == 17 || code == 21) {
            ok = loop_after(static_cast<std::uint8_t>(code + 1), nested, lowest, highest);
        }
        if (!ok) return done(false);
    }
}

bool reference_export_layout::conditional(int nested, int& lowest, int& highest) {
    const auto widen = [&](int lo, int hi) {
        lowest = std::min(lowest, lo);
        highest = std::max(highest, hi);
    };
    const int d = column_;
    const int f = row_;
    add_export_cell(d, f, 25);
    const std::int32_t saved_position = position_;
    const std::int32_t saved_length = length_;
    const std::uint8_t saved_code = code_;
    const std::string saved_text = text_;
    const export_cells saved = out_;
    const auto restore = [&] {
        position_ = saved_position;
        length_ = saved_length;
        code_ = saved_code;
        text_ = saved_text;
        out_ = saved;
    };
    next_item();
    if (code_ != 0) return false;
    // Each trial runs on lists of its own.
    out_ = export_cells();
    const bool first_ok = layout_cells(d - 1, f + 1, nested);
    const export_cells first_trial = out_;
    if (!first_ok) {
        out_ = saved;
        merge(first_trial);
        return false;
    }
    const int t = 2 * d - 2 - highest_;
    const int first_end = row_ - 1;
    next_item();
    if (code_ == 10) {
        restore();
        column_ = d;
        row_ = f + 1;
        add_connector(d, f, bottom, d, f + 2, top, 28);
        row_ = f + 2;
        next_item();
        if (code_ != 0) return false;
        if (!layout_cells(d, f + 2, nested)) return false;
        widen(lowest_, highest_);
        const int h = highest_;
        next_item();
        if (code_ != 10) return false;
        widen(h + 1, h + 1);
        add_export_cell(h + 1, row_ - 1, 26);
        add_connector(d, f, right, h + 1, row_ - 1, top, 29);
        add_connector(h + 1, row_ - 1, left, d, row_, top, 29);
        return true;
    }
    if (code_ != 0) {
        out_ = saved;
        merge(first_trial);
        return false;
    }
    out_ = export_cells();
    const bool second_ok = layout_cells(d + 1, f + 1, nested);
    const export_cells second_trial = out_;
    if (!second_ok) {
        out_ = saved;
        merge(first_trial);
        merge(second_trial);
        return false;
    }
    const int e = 2 * d + 2 - lowest_;
    const int second_end = row_ - 1;
    const int l = std::max(first_end, second_end);
    restore();

    add_connector(d, f, left, t, f + 1, top, 28);
    next_item();
    if (code_ != 0) return false;
    if (!layout_cells(t, f + 1, nested)) return false;
    widen(lowest_, highest_);
    retarget(column_, row_, d, l + 1, top);
    add_connector(d, f, right, e, f + 1, top, 29);
    next_item();
    if (code_ != 0) return false;
    if (!layout_cells(e, f + 1, nested)) return false;
    widen(lowest_, highest_);
    retarget(column_, row_, d, l + 1, top);
    next_item();
    if (code_ != 10) return false;
    column_ = d;
    row_ = l + 1;
    return true;
}

bool reference_export_layout::selection(int nested, int& lowest, int& highest) {
    const int d = column_;
    const int f = row_;
    const int s = parser_slot;
    const bool basic = s == 1 || s == 5 || s == 7 || s == 9 || s == 10 || s == 13;
    int rightmost = d;
    std::vector<int> labels;
    add_export_cell(d, f, 20);
    row_ = f + 2;
    next_item();
    for (;;) {
        if (code_ == 12 || code_ == 13) {
            labels.push_back(row_);
            add_export_cell(d, row_, code_ == 12 ? 21 : 22);
            step_down(27);
            next_item();
            if (code_ != 0) return false;
            if (!layout_cells(d, row_, nested)) return false;
            lowest = std::min(lowest, lowest_);
            highest = std::max(highest, highest_);
            rightmost = std::max(rightmost, highest_);
            if (basic) {
                add_export_cell(d, row_, 23);
                row_ += 2;
            }
            next_item();
        } else if (code_ == 14) {
            break;
        } else {
            return false;
        }
    }
    if (s == 2 || s == 3 || s == 4 || s == 6 || s == 8) {
        add_export_cell(d, row_, 23);
        step_down(27);
    } else if (basic) {
        add_connector(d, row_ - 2, bottom, d, row_, top, 27);
    }
    highest = std::max(highest, rightmost + 1);
    add_export_cell(rightmost + 1, f + 1, 26);
    add_connector(d, f, bottom, rightmost + 1, f + 1, left, 27);
    for (const int m : labels) add_connector(rightmost + 1, f + 1, bottom, d, m, right, 27);
    return true;
}

bool reference_export_layout::loop_before(std::uint8_t closing, int nested, int& lowest,
                                          int& highest) {
    const int head = closing == 16 ? 11 : closing == 24 ? 16 : 14;
    const int entry = closing == 20 ? 29 : 28;
    const int exit = closing == 20 ? 28 : 29;
    const int d = column_;
    const int f = row_;
    add_export_cell(d, f, head);
    step_down(entry);
    next_item();
    if (code_ != 0) return false;
    if (!layout_cells(d, row_, nested)) return false;
    lowest = std::min(lowest, lowest_);
    highest = std::max(highest, highest_);
    const int lo = lowest_;
    const int hi = highest_;
    next_item();
    if (code_ != closing) return false;
    if (retarget(column_, row_, lo - 1, row_ - 1, right)) {
        lowest = std::min(lowest, lo - 1);
        add_export_cell(lo - 1, row_ - 1, 26);
        add_connector(lo - 1, row_ - 1, top, d, f, left, 27);
    }
    highest = std::max(highest, hi + 1);
    add_export_cell(hi + 1, row_, 26);
    add_connector(d, f, right, hi + 1, row_, top, exit);
    add_connector(hi + 1, row_, left, d, row_ + 1, top, exit);
    row_ += 1;
    return true;
}

bool reference_export_layout::loop_after(std::uint8_t closing, int nested, int& lowest,
                                         int& highest) {
    const bool until = closing == 18;
    const int d = column_;
    const int f = row_;
    next_item();
    if (code_ != 0) return false;
    if (!layout_cells(d, f, nested)) return false;
    lowest = std::min(lowest, lowest_);
    highest = std::max(highest, highest_);
    const int lo = lowest_;
    next_item();
    if (code_ != closing) return false;
    add_export_cell(d, row_, until ? 14 : 16);
    const int back = until ? 29 : 28;
    if (lo == d) {
        add_connector(d, row_, left, d, f, top, back);
    } else {
        add_export_cell(lo - 1, row_, 26);
        add_connector(d, row_, left, lo - 1, row_, right, back);
        add_connector(lo - 1, row_, top, d, f, top, back);
    }
    lowest = std::min(lowest, lo - 1);
    step_down(until ? 28 : 29);
    return true;
}

}  // namespace tarnwell::testing
