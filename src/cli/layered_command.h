// tarnwell-cli layered: the layered layout of a graph of boxes and connections, as JSON.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string_view>

#include "classmodel/vixLayout.h"

namespace tarnwell::cli {

// Bounds of the input, so that no file can make the command run out of memory or time.
constexpr std::size_t max_graph_bytes = 64u << 20;
constexpr std::size_t max_graph_boxes = 100'000;
constexpr std::size_t max_graph_edges = 1'000'000;
constexpr int max_box_size = 10'000;  // pixels, width and height

int run_layered(std::span<const std::string_view> args, std::ostream& out);

// The graph of {"boxes":[{"w":185,"h":41,"visible":true},…],"edges":[{"from":0,"to":1,
// "inherit":true},…]}; "visible" defaults to true, "inherit" to false, "edges" to none.
// Throws json_error at the first thing that does not fit.
TLayoutGraph parse_layout_graph(std::string_view json);

}  // namespace tarnwell::cli
