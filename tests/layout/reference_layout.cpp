#include "reference_layout.h"

#include <algorithm>
#include <vector>

#include "parsers/xmls.h"

namespace tarnwell::testing {

namespace {

constexpr int plain = 0;
constexpr int vertical = 1;
constexpr int crossing = 2;
constexpr int rerouting = 3;
constexpr int no_line = -1;

// A rule's change written as text: "=" unchanged, "-" removed, "+name" a new cell, "name" a
// new name, "name*" a new name and the current item text, "walk" the walk of mode 2, ""
// nothing (the position is empty).
struct rule {
    const char* holds;  // "" for an empty position
    const char* becomes;
    int line;
    const char* above;  // modes 1 and 2: the change above the merge row
    int result;
};

const std::vector<rule> mode0 = {
    {"P_downarrow", "p_leftanddownarrow*", plain, "", 1},
    {"", "+p_leftdownturnarrow", plain, "", 1},
    {"p_rightdownturnarrow", "p_threearrow", plain, "", 1},
    {"P_truearrow", "P_lefttruearrow", plain, "", 1},
    {"P_falsearrow", "P_leftfalsearrow", plain, "", 1},
    {"p_leftdownturnarrow", "=", crossing, "", 1},
    {"p_leftanddownarrow", "=", crossing, "", 1},
    {"p_threearrow", "=", crossing, "", 1},
    {"P_lefttruearrow", "=", crossing, "", 1},
    {"P_leftfalsearrow", "=", crossing, "", 1},
};

const std::vector<rule> mode1 = {
    {"P_downarrow", "P_leftturn", plain, "P_vline", 1},
    {"", "", no_line, "", 0},
    {"p_leftdownturnarrow", "-", rerouting, "P_leftupturn", 1},
    {"p_leftanddownarrow", "P_leftturn", crossing, "p_rightcrossarrow", 1},
    {"p_rightdownturnarrow", "P_hline", plain, "P_rightdownturn", 1},
    {"p_threearrow", "P_hline", crossing, "p_leftandrightarrow", 1},
    {"P_truearrow", "p_leftturntrue", plain, "p_truehline", 1},
    {"P_falsearrow", "p_leftturnfalse", plain, "p_falsehline", 1},
    {"P_lefttruearrow", "p_leftturntrue", crossing, "p_lefttruehline", 1},
    {"P_leftfalsearrow", "p_leftturnfalse", crossing, "p_leftfalsehline", 1},
};

const std::vector<rule> mode2 = {
    {"P_downarrow", "P_rightturn", plain, "P_vline", 1},
    {"", "", no_line, "", 0},
    {"p_leftdownturnarrow", "P_hline", plain, "P_leftupturn", 1},
    {"p_leftanddownarrow", "p_connect", plain, "p_rightcrossarrow", 1},
    {"p_rightdownturnarrow", "walk", no_line, "P_rightdownturn", 1},
    {"p_threearrow", "P_hline", crossing, "p_leftandrightarrow", 1},
    {"P_truearrow", "p_rightturnuptrue", plain, "p_truehline", 1},
    {"P_falsearrow", "p_rightturnupfalse", plain, "p_falsehline", 1},
    {"P_lefttruearrow", "p_connecttrue", plain, "p_lefttruehline", 1},
    {"P_leftfalsearrow", "p_connecfalse", plain, "p_leftfalsehline", 1},
};

const std::vector<rule> mode3 = {
    {"P_downarrow", "P_rightturn", plain, "", 1},
    {"", "", no_line, "", 0},
    {"p_leftdownturnarrow", "P_hline", plain, "", 1},
    {"p_leftanddownarrow", "p_connect", plain, "", 1},
    {"p_rightdownturnarrow", "-", crossing, "", 1},
    {"p_threearrow", "P_hline", crossing, "", 1},
    {"P_truearrow", "p_rightturnuptrue", plain, "", 1},
    {"P_falsearrow", "p_rightturnupfalse", plain, "", 1},
    {"P_lefttruearrow", "p_connecttrue", plain, "", 1},
    {"P_leftfalsearrow", "p_connecfalse", plain, "", 1},
};

const std::vector<rule> mode4 = {
    {"P_downarrow", "p_rightanddownarrow", no_line, "", 1},
    {"", "+p_rightdownturnarrow", no_line, "", 0},
    {"p_leftdownturnarrow", "p_connectarrow", no_line, "", 1},
    {"p_leftanddownarrow", "p_threearrow", no_line, "", 1},
    {"p_leftdownturntruearrow", "p_connecttruearrow", no_line, "", 1},
    {"p_rightdownturnarrow", "P_rightdownturn", no_line, "", 2},
    {"p_threearrow", "p_leftandrightarrow", no_line, "", 2},
    {"P_truearrow", "p_truehline", no_line, "", 2},
    {"P_falsearrow", "p_falsehline", no_line, "", 2},
    {"P_lefttruearrow", "p_lefttruehline", no_line, "", 2},
    {"P_leftfalsearrow", "p_leftfalsehline", no_line, "", 2},
    {"p_rightanddownarrow", "p_rightarrowhline", no_line, "", 2},
    {"p_start", "=", no_line, "", 3},
};

const rule* find_rule(const std::vector<rule>& table, const std::string& holds) {
    for (const rule& r : table) {
        if (holds == r.holds) return &r;
    }
    return nullptr;
}

}  // namespace

// Reader

void reference_layout::read_item() {
    const auto size = static_cast<std::int32_t>(markup.size());
    const std::int32_t p = position_;
    if (p < 1 || p > size) {
        code_ = 28;
        length_ = 0;
        return;
    }
    const char first = markup[static_cast<std::size_t>(p - 1)];
    if (first == '\001') {
        code_ = 28;
        length_ = 1;
    } else if (first == '<') {
        std::int32_t q = p + 1;
        while (q <= size && markup[static_cast<std::size_t>(q - 1)] != '>' &&
               markup[static_cast<std::size_t>(q - 1)] != '\001') {
            ++q;
        }
        if (q > size || markup[static_cast<std::size_t>(q - 1)] == '\001') {
            code_ = 30;
            length_ = q - p;
            return;
        }
        code_ = tsparser::tag_code(
            markup.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(q - p + 1)));
        std::int32_t e = q + 1;
        while (e <= size && markup[static_cast<std::size_t>(e - 1)] != '<' &&
               markup[static_cast<std::size_t>(e - 1)] != '\001') {
            ++e;
        }
        text_ = markup.substr(static_cast<std::size_t>(q), static_cast<std::size_t>(e - q - 1));
        length_ = e - p;
    } else {
        code_ = 30;
        length_ = 1;
    }
}

void reference_layout::next_item() {
    position_ += length_;
    read_item();
}

bool reference_layout::skip_block(std::uint8_t closing) {
    std::uint8_t opening = 255;
    const std::uint8_t pairs[][2] = {{0, 1},   {9, 10},  {11, 14}, {15, 16}, {17, 18},
                                     {19, 20}, {21, 22}, {23, 24}, {25, 26}};
    for (const auto& pair : pairs) {
        if (pair[1] == closing) opening = pair[0];
    }
    if (opening == 255) return false;
    const std::string start = text_.substr(0, text_.find('-'));
    next_item();
    while (code_ != closing) {
        if (code_ == 28) return false;
        if (code_ == opening && !skip_block(closing)) return false;
        next_item();
    }
    const std::size_t dash = text_.find('-');
    text_ = start + "-" + (dash == std::string::npos ? "" : text_.substr(dash + 1));
    return true;
}

int reference_layout::depth() {
    position_ = 1;
    read_item();
    int deepest = 1;
    // Scans one sequence at level k; false at the end of the markup.
    const auto scan = [&](const auto& self, int k) -> bool {
        next_item();
        while (code_ != 1) {
            if (code_ == 28) return false;
            if (code_ == 0) {
                deepest = std::max(deepest, k + 1);
                if (!self(self, k + 1)) return false;
            }
            next_item();
        }
        return true;
    };
    scan(scan, 1);
    return deepest;
}

// Cells

// "(" column "," row ",": the start of a cell, so that column 5 is not found in column 15.
std::size_t reference_layout::find(int column, int row) const {
    std::string prefix(1, '(');
    prefix += std::to_string(column);
    prefix += ',';
    prefix += std::to_string(row);
    prefix += ',';
    return cells_.find(prefix);
}

std::string reference_layout::cell_name(int column, int row) const {
    const std::size_t at = find(column, row);
    if (at == std::string::npos) return "";
    const std::size_t name = cells_.find(',', cells_.find(',', at) + 1) + 1;
    return cells_.substr(name, cells_.find(',', name) - name);
}

void reference_layout::add_cell(int column, int row, const std::string& name) {
    cells_ += '(';
    cells_ += std::to_string(column);
    cells_ += ',';
    cells_ += std::to_string(row);
    cells_ += ',';
    cells_ += name;
    cells_ += ',';
    cells_ += text_;
    cells_ += ')';
}

void reference_layout::set_cell(int column, int row, const std::string& name,
                                const std::string* text) {
    const std::size_t at = find(column, row);
    if (at == std::string::npos) return;
    const std::size_t name_at = cells_.find(',', cells_.find(',', at) + 1) + 1;
    const std::size_t text_at = cells_.find(',', name_at) + 1;
    const std::size_t end = cells_.find(')', text_at);
    const std::string kept_text = cells_.substr(text_at, end - text_at);
    cells_.replace(name_at, end - name_at, name + "," + (text != nullptr ? *text : kept_text));
}

void reference_layout::remove_cell(int column, int row) {
    const std::size_t at = find(column, row);
    if (at == std::string::npos) return;
    cells_.erase(at, cells_.find(')', at) - at + 1);
}

void reference_layout::draw_line(int x1, int y1, int x2, int y2, int kind) {
    if (kind == vertical) {
        if (x1 == x2 && y1 <= y2) {
            for (int y = y1; y <= y2; ++y) add_cell(x1, y, "P_vline");
        }
        return;
    }
    if (y1 != y2 || x1 > x2) return;
    int argument = 0;
    for (int x = x1; x <= x2; ++x) {
        if (kind == plain) add_cell(x, y1, "P_hline");
        if (kind == crossing) merge_cell(x, y1, 6, 0);
        if (kind == rerouting && merge_cell(x, y1, 8, argument) == 3) argument = 1;
    }
}

void reference_layout::line_right(int column, int row, int kind) {
    if (kind != no_line) draw_line(column + 1, row, highest_, row, kind);
}

void reference_layout::line_left(int column, int row, int kind) {
    if (kind != no_line) draw_line(lowest_, row, column - 1, row, kind);
}

int reference_layout::merge_cell(int column, int row, int mode, int argument) {
    const std::string holds = cell_name(column, row);
    const auto change = [&](const std::string& becomes) {
        if (becomes == "=" || becomes.empty()) return;
        if (becomes == "-") {
            remove_cell(column, row);
        } else if (becomes[0] == '+') {
            add_cell(column, row, becomes.substr(1));
        } else if (becomes.back() == '*') {
            set_cell(column, row, becomes.substr(0, becomes.size() - 1), &text_);
        } else if (becomes == "walk") {
            remove_cell(column, row);
            int x = column - 1;
            for (; x >= lowest_; --x) {
                if (cell_name(x, row) != "P_hline") {
                    set_cell(x, row, "P_rightturn", nullptr);
                    break;
                }
                remove_cell(x, row);
            }
            draw_line(lowest_, row, x - 1, row, crossing);
        } else {
            set_cell(column, row, becomes, nullptr);
        }
    };
    if (mode == 6) {
        if (holds.empty()) add_cell(column, row, "P_hline");
        if (holds == "P_leftturn" || holds == "P_rightturn")
            set_cell(column, row, "p_connect", nullptr);
        return 1;
    }
    if (mode == 8) {
        if (holds == "p_connect") return argument == 0 ? 3 : 1;
        if (holds.empty()) add_cell(column, row, "P_hline");
        if (holds == "P_hline" && argument == 0) remove_cell(column, row);
        if (holds == "P_rightturn") {
            set_cell(column, row, argument == 0 ? "P_leftturn" : "p_connect", nullptr);
            return argument == 0 ? 3 : 1;
        }
        return 1;
    }
    const std::vector<rule>* table = mode == 0   ? &mode0
                                     : mode == 1 ? &mode1
                                     : mode == 2 ? &mode2
                                     : mode == 3 ? &mode3
                                     : mode == 4 ? &mode4
                                                 : nullptr;
    const rule* r = table == nullptr ? nullptr : find_rule(*table, holds);
    if (r == nullptr) return 1;
    if ((mode == 1 || mode == 2) && row != argument) {
        change(r->above);
        return r->result;
    }
    change(r->becomes);
    if (mode == 0 || mode == 1) line_right(column, row, r->line);
    if (mode == 2 || mode == 3) line_left(column, row, r->line);
    return r->result;
}

// Layout

bool reference_layout::make_script(int level) {
    script_.clear();
    cells_.clear();
    nesting_ = 0;
    position_ = 1;
    read_item();
    if (code_ != 0) return false;
    lowest_ = highest_ = column_ = 100;
    row_ = 1;
    cells_ = "(100,1,p_start,1-2)";
    row_ = 2;
    const bool laid_out = layout_block(100, 2, level);
    add_cell(column_, row_, "p_end");
    row_ += 1;
    script_ = "colcount" + std::to_string(highest_ - lowest_ + 4) + "rowcount" +
              std::to_string(row_ + 2) + "script" + std::to_string(lowest_ - 1) + cells_ + "\001";
    next_item();
    return laid_out && code_ == 28;
}

bool reference_layout::layout_block(int c, int r, int level) {
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
        add_cell(c, r, "p_statement");
        add_cell(c, r + 1, "P_downarrow");
        row_ = r + 2;
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
        const auto symbol_and_arrow = [&](const char* name) {
            add_cell(column_, row_, name);
            add_cell(column_, row_ + 1, "P_downarrow");
            row_ += 2;
        };
        const auto symbol_alone = [&](const char* name) {
            add_cell(column_, row_, name);
            row_ += 2;
        };
        const char* collapsed = code == 9    ? "p_if2"
                                : code == 11 ? "p_switch2"
                                : code == 15 ? "p_for2"
                                : code == 17 ? "p_dountil"
                                : code == 19 ? "p_untildo"
                                : code == 21 ? "p_dowhile"
                                : code == 23 ? "p_whiledo"
                                             : nullptr;
        if (code == 27) {
            symbol_and_arrow("P_code");
        } else if (code == 4) {
            symbol_and_arrow("p_label");
        } else if (code == 7) {
            symbol_alone("P_return");
        } else if (code == 8) {
            symbol_alone("P_exit");
        } else if (code == 2) {
            symbol_alone("P_break");
        } else if (code == 6) {
            symbol_alone("P_continue");
        } else if (code == 5) {
            symbol_alone("p_goto");
        } else if (code == 25) {
            ok = skip_block(26);
            if (ok) symbol_and_arrow("p_except");
        } else if (collapsed != nullptr && level == 2) {
            ok = skip_block(static_cast<std::uint8_t>(code + (code == 11 ? 3 : 1)));
            if (ok) symbol_and_arrow(collapsed);
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

bool reference_layout::conditional(int nested, int& lowest, int& highest) {
    const auto widen = [&](int lo, int hi) {
        lowest = std::min(lowest, lo);
        highest = std::max(highest, hi);
    };
    const int d = column_;
    const int f = row_;
    add_cell(d, f, "p_if");
    const std::int32_t saved_position = position_;
    const std::int32_t saved_length = length_;
    const std::uint8_t saved_code = code_;
    const std::string saved_text = text_;
    const std::string saved_cells = cells_;
    // Each trial runs on cells of its own.
    cells_.clear();
    next_item();
    if (code_ != 0) {
        cells_ = saved_cells + cells_;
        return false;
    }
    if (!layout_block(d - 1, f + 1, nested)) {
        cells_ = saved_cells + cells_;
        return false;
    }
    const int t = 2 * d - 2 - highest_;
    const int first_end = row_ - 1;
    next_item();
    const auto restore = [&] {
        position_ = saved_position;
        length_ = saved_length;
        code_ = saved_code;
        text_ = saved_text;
        cells_ = saved_cells;
    };
    if (code_ == 10) {
        restore();
        column_ = d;
        add_cell(d, f + 1, "P_truearrow");
        row_ = f + 2;
        next_item();
        if (code_ != 0) return false;
        if (!layout_block(d, f + 2, nested)) return false;
        widen(lowest_, highest_);
        const int h = highest_;
        next_item();
        if (code_ != 10) return false;
        merge_cell(d, row_ - 1, 0, 0);
        widen(h + 1, h + 1);
        if (h == d) {
            add_cell(d + 1, f, "p_rightturnfalse");
        } else {
            add_cell(d + 1, f, "P_falseline");
            draw_line(d + 2, f, h, f, plain);
            add_cell(h + 1, f, "P_rightdownturn");
        }
        add_cell(h + 1, row_ - 1, "P_rightturn");
        draw_line(h + 1, f + 1, h + 1, row_ - 2, vertical);
        return true;
    }
    if (code_ != 0) {
        cells_ = saved_cells + cells_;
        return false;
    }
    const std::string first_trial = cells_;
    cells_.clear();
    add_cell(d + 1, f, "p_rightdownturnarrow");
    if (!layout_block(d + 1, f + 1, nested)) {
        cells_ = saved_cells + first_trial + cells_;
        return false;
    }
    const int e = 2 * d + 2 - lowest_;
    const int second_end = row_ - 1;
    int l = std::max(first_end, second_end);
    if (f >= l) l = f + 1;
    restore();

    if (t == d - 1) {
        add_cell(d - 1, f, "p_leftdownturntruearrow");
    } else {
        add_cell(d - 1, f, "P_trueline");
        draw_line(t + 1, f, d - 2, f, plain);
        add_cell(t, f, "p_leftdownturnarrow");
    }
    next_item();
    if (code_ != 0) return false;
    if (!layout_block(t, f + 1, nested)) return false;
    widen(lowest_, highest_);
    const int left_flow = merge_cell(column_, row_ - 1, 1, l);
    if (left_flow != 0 && row_ - 1 != l) {
        draw_line(column_, row_, column_, l - 1, vertical);
        add_cell(column_, l, "P_leftturn");
        draw_line(column_ + 1, l, d - 1, l, plain);
    }
    if (e == d + 1) {
        add_cell(d + 1, f, "p_rightdownturnfalsearrow");
    } else {
        add_cell(d + 1, f, "P_falseline");
        draw_line(d + 2, f, e - 1, f, plain);
        add_cell(e, f, "p_rightdownturnarrow");
    }
    next_item();
    if (code_ != 0) return false;
    if (!layout_block(e, f + 1, nested)) return false;
    widen(lowest_, highest_);
    const int right_flow = merge_cell(column_, row_ - 1, 2, l);
    if (right_flow != 0 && row_ - 1 != l) {
        draw_line(column_, row_, column_, l - 1, vertical);
        add_cell(column_, l, "P_rightturn");
        draw_line(d + 1, l, column_ - 1, l, plain);
    }
    next_item();
    if (code_ != 10) return false;
    column_ = d;
    row_ = l;
    if (left_flow != 0 && right_flow != 0) add_cell(d, l, "p_threearrow");
    if (left_flow != 0 && right_flow == 0) add_cell(d, l, "p_rightdownturnarrow");
    if (left_flow == 0 && right_flow != 0) add_cell(d, l, "p_leftdownturnarrow");
    row_ = l + 1;
    return true;
}

bool reference_layout::selection(int nested, int& lowest, int& highest) {
    const int d = column_;
    const int f = row_;
    int rightmost = d;
    std::vector<int> labels;
    add_cell(d, f, "P_switch");
    add_cell(d, f + 1, "P_leftturn");
    row_ = f + 2;
    next_item();
    const int s = parser_slot;
    const bool basic = s == 1 || s == 5 || s == 7 || s == 9 || s == 10 || s == 13;
    for (;;) {
        if (code_ == 12 || code_ == 13) {
            labels.push_back(row_);
            add_cell(d, row_, code_ == 12 ? "P_case" : "p_else");
            add_cell(d, row_ + 1, "P_downarrow");
            row_ += 2;
            next_item();
            if (code_ != 0) return false;
            if (!layout_block(d, row_, nested)) return false;
            lowest = std::min(lowest, lowest_);
            highest = std::max(highest, highest_);
            rightmost = std::max(rightmost, highest_);
            if (basic && find(d, row_ - 1) != std::string::npos) row_ += 1;
            next_item();
        } else if (code_ == 14) {
            break;
        } else {
            return false;
        }
    }
    if (s == 2 || s == 3 || s == 4 || s == 6 || s == 8) {
        add_cell(d, row_, "P_diamond");
        add_cell(d, row_ + 1, "P_downarrow");
        row_ += 2;
    } else if (basic) {
        add_cell(d, row_ - 1, "P_diamond");
        add_cell(d, row_, "P_downarrow");
        row_ += 1;
    } else {
        row_ += 1;
    }
    draw_line(d + 1, f + 1, rightmost, f + 1, plain);
    highest = std::max(highest, rightmost + 1);
    add_cell(rightmost + 1, f + 1, "P_rightdownturn");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int m = labels[i];
        draw_line(d + 2, m, rightmost, m, plain);
        if (i + 1 < labels.size()) {
            if (rightmost == d) {
                add_cell(d + 1, m, "p_leftcrossarrow");
            } else {
                add_cell(d + 1, m, "P_leftarrow");
                add_cell(rightmost + 1, m, "p_leftcross");
            }
            draw_line(rightmost + 1, m + 1, rightmost + 1, labels[i + 1] - 1, vertical);
        } else if (rightmost == d) {
            add_cell(d + 1, m, "p_rightarrowturn");
        } else {
            add_cell(d + 1, m, "P_leftarrow");
            add_cell(rightmost + 1, m, "P_rightturn");
        }
    }
    return true;
}

bool reference_layout::loop_before(std::uint8_t closing, int nested, int& lowest, int& highest) {
    const char* head = closing == 16 ? "P_for" : closing == 24 ? "P_WHILE" : "P_until";
    const char* entry = closing == 20 ? "P_falsearrow" : "P_truearrow";
    const char* exit_corner = closing == 20 ? "p_rightturntrue" : "p_rightturnfalse";
    const char* exit_line = closing == 20 ? "P_trueline" : "P_falseline";
    const int d = column_;
    const int f = row_;
    add_cell(d, f, head);
    add_cell(d, f + 1, entry);
    row_ = f + 2;
    next_item();
    if (code_ != 0) return false;
    if (!layout_block(d, f + 2, nested)) return false;
    lowest = std::min(lowest, lowest_);
    highest = std::max(highest, highest_);
    const int lo = lowest_;
    const int hi = highest_;
    next_item();
    if (code_ != closing) return false;
    if (merge_cell(d, row_ - 1, 3, 0) != 0) {
        lowest = std::min(lowest, lo - 1);
        if (lo == d) {
            add_cell(d - 1, f, "p_rightturnarrow");
        } else {
            add_cell(lo - 1, f, "P_leftupturn");
            draw_line(lo, f, d - 2, f, plain);
            add_cell(d - 1, f, "P_rightarrow");
        }
        add_cell(lo - 1, row_ - 1, "P_leftturn");
        draw_line(lo - 1, f + 1, lo - 1, row_ - 2, vertical);
    }
    highest = std::max(highest, hi + 1);
    if (hi == d) {
        add_cell(d + 1, f, exit_corner);
    } else {
        add_cell(hi + 1, f, "P_rightdownturn");
        draw_line(d + 2, f, hi, f, plain);
        add_cell(d + 1, f, exit_line);
    }
    add_cell(d, row_, "p_leftdownturnarrow");
    draw_line(d + 1, row_, hi, row_, plain);
    add_cell(hi + 1, row_, "P_rightturn");
    draw_line(hi + 1, f + 1, hi + 1, row_ - 1, vertical);
    row_ += 1;
    return true;
}

bool reference_layout::loop_after(std::uint8_t closing, int nested, int& lowest, int& highest) {
    const bool until = closing == 18;
    const int d = column_;
    const int r = row_;
    const int j = merge_cell(d, r - 1, 4, 0);
    int f = r - 1;
    if (j == 2) {
        add_cell(d, r, "p_rightanddownarrow");
        row_ = r + 1;
        f = r;
    }
    next_item();
    if (code_ != 0) return false;
    if (!layout_block(d, row_, nested)) return false;
    lowest = std::min(lowest, lowest_);
    highest = std::max(highest, highest_);
    const int lo = lowest_;
    next_item();
    if (code_ != closing) return false;
    add_cell(d, row_, until ? "P_until" : "P_WHILE");
    lowest = std::min(lowest, lo - 1);
    if (lo == d) {
        add_cell(lo - 1, row_, until ? "p_leftturnfalse" : "p_leftturntrue");
    } else {
        add_cell(d - 1, row_, until ? "P_falseline" : "P_trueline");
        draw_line(lo, row_, d - 2, row_, plain);
        add_cell(lo - 1, row_, "P_leftturn");
    }
    draw_line(lo - 1, f + 1, lo - 1, row_ - 1, vertical);
    if (j == 3) {
        if (lo == d) {
            add_cell(lo - 1, f, "p_rightturnarrow");
        } else {
            add_cell(lo - 1, f, "P_leftupturn");
            draw_line(lo, f, d - 2, f, plain);
            add_cell(d - 1, f, "P_rightarrow");
        }
    } else {
        add_cell(lo - 1, f, "P_leftupturn");
        draw_line(lo, f, d - 1, f, plain);
    }
    row_ += 1;
    add_cell(d, row_, until ? "P_truearrow" : "P_falsearrow");
    row_ += 1;
    return true;
}

}  // namespace tarnwell::testing
