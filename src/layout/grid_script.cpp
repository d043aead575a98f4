#include "layout/grid_script.h"

#include <array>
#include <charconv>

namespace tarnwell {

namespace {

constexpr std::array<std::string_view, symbol_count + 1> symbol_names = {
    "",
    "p_start",
    "p_end",
    "p_statement",
    "P_code",
    "P_return",
    "P_exit",
    "P_break",
    "P_continue",
    "p_label",
    "p_goto",
    "p_except",
    "p_if",
    "p_if2",
    "P_switch",
    "p_switch2",
    "P_case",
    "p_else",
    "P_diamond",
    "P_for",
    "p_for2",
    "P_WHILE",
    "p_whiledo",
    "p_dowhile",
    "P_until",
    "p_untildo",
    "p_dountil",
    "P_downarrow",
    "P_truearrow",
    "P_falsearrow",
    "P_vline",
    "p_truehline",
    "p_falsehline",
    "P_hline",
    "P_trueline",
    "P_falseline",
    "P_leftarrow",
    "P_rightarrow",
    "P_leftturn",
    "p_leftturntrue",
    "p_leftturnfalse",
    "P_rightturn",
    "p_rightturnuptrue",
    "p_rightturnupfalse",
    "p_rightarrowturn",
    "P_rightdownturn",
    "p_rightturntrue",
    "p_rightturnfalse",
    "p_rightdownturnarrow",
    "p_rightdownturnfalsearrow",
    "P_leftupturn",
    "p_rightturnarrow",
    "p_leftdownturnarrow",
    "p_leftdownturntruearrow",
    "p_rightanddownarrow",
    "p_rightarrowhline",
    "p_leftcross",
    "p_leftcrossarrow",
    "p_leftanddownarrow",
    "P_lefttruearrow",
    "P_leftfalsearrow",
    "p_rightcrossarrow",
    "p_lefttruehline",
    "p_leftfalsehline",
    "p_threearrow",
    "p_connectarrow",
    "p_connecttruearrow",
    "p_leftandrightarrow",
    "p_connect",
    "p_connecttrue",
    "p_connecfalse",
};

// A whole text as a decimal integer (layout columns may fall below zero on very wide charts).
std::optional<int> read_number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The text between the first `open` and the first `close` after it.
std::optional<std::string_view> between(std::string_view text, std::string_view open,
                                        std::string_view close) {
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos) return std::nullopt;
    const std::size_t from = start + open.size();
    const std::size_t stop = text.find(close, from);
    if (stop == std::string_view::npos) return std::nullopt;
    return text.substr(from, stop - from);
}

// The field that starts at `pos` and runs up to `separator`; `pos` moves past the separator.
std::optional<std::string_view> field(std::string_view text, std::size_t& pos, char separator) {
    const std::size_t stop = text.find(separator, pos);
    if (stop == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(pos, stop - pos);
    pos = stop + 1;
    return value;
}

std::optional<grid_cell> read_cell(std::string_view text, std::size_t& pos) {
    if (text[pos] != '(') return std::nullopt;
    ++pos;
    const auto column = field(text, pos, ',');
    const auto row = field(text, pos, ',');
    const auto name = field(text, pos, ',');
    const auto range = field(text, pos, ')');
    if (!column || !row || !name || !range) return std::nullopt;
    const auto column_number = read_number(*column);
    const auto row_number = read_number(*row);
    if (!column_number || !row_number) return std::nullopt;
    return grid_cell{*column_number, *row_number, std::string(*name), std::string(*range)};
}

}  // namespace

std::string_view symbol_name(symbol s) {
    return symbol_names[static_cast<std::size_t>(s)];
}

std::string write_grid_script(const grid_script& script) {
    std::string text;
    // A cell is rarely longer than this; one allocation serves a long chart.
    constexpr std::size_t usual_cell_length = 32;
    text.reserve(48 + script.cells.size() * usual_cell_length);
    const auto number = [&text](int value) {
        char digits[16];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), value);
        text.append(digits, written.ptr);
    };
    text += "colcount";
    number(script.column_count);
    text += "rowcount";
    number(script.row_count);
    text += "script";
    number(script.column_offset);
    for (const grid_cell& cell : script.cells) {
        text += '(';
        number(cell.column);
        text += ',';
        number(cell.row);
        text += ',';
        text += cell.name;
        text += ',';
        text += cell.range;
        text += ')';
    }
    if (script.complete) text += '\001';
    return text;
}

std::optional<grid_script> read_grid_script(std::string_view text) {
    const auto columns = between(text, "colcount", "rowcount");
    const auto rows = between(text, "rowcount", "script");
    const auto offset = between(text, "script", "(");
    if (!columns || !rows || !offset) return std::nullopt;
    grid_script script;
    const auto column_count = read_number(*columns);
    const auto row_count = read_number(*rows);
    const auto column_offset = read_number(*offset);
    if (!column_count || !row_count || !column_offset || *column_count < 1 || *row_count < 1) {
        return std::nullopt;
    }
    script.column_count = *column_count;
    script.row_count = *row_count;
    script.column_offset = *column_offset;
    std::size_t pos = text.find('(');
    while (pos < text.size() && text[pos] != '\001') {
        auto cell = read_cell(text, pos);
        if (!cell) return script;
        script.cells.push_back(std::move(*cell));
    }
    script.complete = pos < text.size();
    return script;
}

const grid_cell* find_cell(const grid_script& script, int column, int row) {
    for (const grid_cell& cell : script.cells) {
        if (cell.column == column && cell.row == row) return &cell;
    }
    return nullptr;
}

std::optional<source_range> range_of(std::string_view range_text) {
    const std::size_t dash = range_text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto read_position = [](std::string_view digits) -> std::optional<std::int32_t> {
        std::int32_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits[0] == '-' || error != std::errc() ||
            end != digits.data() + digits.size()) {
            return std::nullopt;
        }
        return value;
    };
    const auto start = read_position(range_text.substr(0, dash));
    const auto end = read_position(range_text.substr(dash + 1));
    if (!start || !end || *start > *end) return std::nullopt;
    return source_range{*start, *end};
}

}  // namespace tarnwell
