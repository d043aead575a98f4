#include "flowview/symbol_joins.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr unsigned T = edge_top, B = edge_bottom, L = edge_left, R = edge_right;

constexpr std::array<connector_piece, connector_piece_count> pieces{{
    {symbol::P_downarrow, T | B, B, branch::none},
    {symbol::P_truearrow, T | B, B, branch::yes},
    {symbol::P_falsearrow, T | B, B, branch::no},
    {symbol::P_vline, T | B, 0, branch::none},
    {symbol::p_truehline, T | B, 0, branch::yes},
    {symbol::p_falsehline, T | B, 0, branch::no},
    {symbol::P_hline, L | R, 0, branch::none},
    {symbol::P_trueline, L | R, 0, branch::yes},
    {symbol::P_falseline, L | R, 0, branch::no},
    {symbol::P_leftarrow, L | R, L, branch::none},
    {symbol::P_rightarrow, L | R, R, branch::none},
    {symbol::P_leftturn, T | R, 0, branch::none},
    {symbol::p_leftturntrue, T | R, 0, branch::yes},
    {symbol::p_leftturnfalse, T | R, 0, branch::no},
    {symbol::P_rightturn, T | L, 0, branch::none},
    {symbol::p_rightturnuptrue, T | L, 0, branch::yes},
    {symbol::p_rightturnupfalse, T | L, 0, branch::no},
    {symbol::p_rightarrowturn, T | L, L, branch::none},
    {symbol::P_rightdownturn, L | B, 0, branch::none},
    {symbol::p_rightturntrue, L | B, 0, branch::yes},
    {symbol::p_rightturnfalse, L | B, 0, branch::no},
    {symbol::p_rightdownturnarrow, L | B, B, branch::none},
    {symbol::p_rightdownturnfalsearrow, L | B, B, branch::no},
    {symbol::P_leftupturn, R | B, 0, branch::none},
    {symbol::p_rightturnarrow, R | B, R, branch::none},
    {symbol::p_leftdownturnarrow, R | B, B, branch::none},
    {symbol::p_leftdownturntruearrow, R | B, B, branch::yes},
    {symbol::p_rightanddownarrow, T | L | B, B, branch::none},
    {symbol::p_rightarrowhline, T | L | B, 0, branch::none},
    {symbol::p_leftcross, T | L | B, 0, branch::none},
    {symbol::p_leftcrossarrow, T | L | B, L, branch::none},
    {symbol::p_leftanddownarrow, T | R | B, B, branch::none},
    {symbol::P_lefttruearrow, T | R | B, B, branch::yes},
    {symbol::P_leftfalsearrow, T | R | B, B, branch::no},
    {symbol::p_rightcrossarrow, T | R | B, 0, branch::none},
    {symbol::p_lefttruehline, T | R | B, 0, branch::yes},
    {symbol::p_leftfalsehline, T | R | B, 0, branch::no},
    {symbol::p_threearrow, L | R | B, B, branch::none},
    {symbol::p_connectarrow, L | R | B, B, branch::none},
    {symbol::p_connecttruearrow, L | R | B, B, branch::yes},
    {symbol::p_leftandrightarrow, L | R | B, 0, branch::none},
    {symbol::p_connect, T | L | R, 0, branch::none},
    {symbol::p_connecttrue, T | L | R, 0, branch::yes},
    {symbol::p_connecfalse, T | L | R, 0, branch::no},
}};

bool is_node_symbol(std::string_view name) {
    for (int s = static_cast<int>(symbol::p_start); s < static_cast<int>(symbol::P_downarrow);
         ++s) {
        if (symbol_name(static_cast<symbol>(s)) == name) return true;
    }
    return false;
}

}  // namespace

const std::array<connector_piece, connector_piece_count>& connector_pieces() {
    return pieces;
}

const connector_piece* connector_piece_of(std::string_view name) {
    const auto found = std::find_if(pieces.begin(), pieces.end(), [&](const connector_piece& c) {
        return symbol_name(c.name) == name;
    });
    return found == pieces.end() ? nullptr : &*found;
}

unsigned symbol_edges(std::string_view name) {
    if (const connector_piece* piece = connector_piece_of(name)) return piece->joins;
    if (!is_node_symbol(name)) return 0;
    if (name == "p_start") return B | L | R;
    if (name == "p_end" || name == "P_return" || name == "P_exit" || name == "P_break" ||
        name == "P_continue" || name == "p_goto") {
        return T | L | R;
    }
    return T | B | L | R;
}

bool cells_joined(std::string_view first, std::string_view second, bool vertical) {
    const unsigned first_edge = vertical ? B : R;
    const unsigned second_edge = vertical ? T : L;
    // Two node symbols side by side never share a line: branches leave through pieces.
    if (!vertical && connector_piece_of(first) == nullptr && connector_piece_of(second) == nullptr)
        return false;
    return (symbol_edges(first) & first_edge) != 0 && (symbol_edges(second) & second_edge) != 0;
}

}  // namespace tarnwell
