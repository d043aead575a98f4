// Which edges of its cell a symbol's lines reach: the joins, arrowheads and branch labels of
// the connector pieces, and the edges a node symbol meets its neighbours at. The painter
// draws the pieces from this table; the page cutter follows flow lines across page edges.
#pragma once

#include <array>
#include <string_view>

#include "layout/grid_script.h"

namespace tarnwell {

// Edges of a cell, as bits; a connector piece joins the midpoints of some of them.
enum cell_edge : unsigned { edge_top = 1, edge_bottom = 2, edge_left = 4, edge_right = 8 };

enum class branch { none, yes, no };

struct connector_piece {
    symbol name;
    unsigned joins;
    unsigned arrow;  // the edge whose midpoint carries the arrowhead; 0 for none
    branch label;
};

inline constexpr std::size_t connector_piece_count = 44;
const std::array<connector_piece, connector_piece_count>& connector_pieces();

// The piece of a name, or nullptr for node symbols and unknown names.
const connector_piece* connector_piece_of(std::string_view name);

// The edges at which a cell's symbol can meet a flow line of its neighbour: a connector
// piece's joins; for a node symbol every edge, less the top of the start terminal and the
// bottom of the symbols that no flow leaves downwards. Nothing for an unknown or empty name.
unsigned symbol_edges(std::string_view name);

// Whether a flow line runs between two neighbouring cells: `first` lies above (vertical) or
// to the left (horizontal) of `second`, and both meet the edge they share.
bool cells_joined(std::string_view first, std::string_view second, bool vertical);

}  // namespace tarnwell
