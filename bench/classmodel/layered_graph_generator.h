// Graphs made up to look like large class diagrams, for the layered layout's benchmarks.
#pragma once

#include <cstddef>
#include <iosfwd>

#include "classmodel/vixLayout.h"

namespace tarnwell {

// `boxes` boxes of class-box sizes: a forest of inheritance in which three boxes in four have
// an ancestor among the boxes before them, one association for every two boxes between any two
// (closing cycles), and every twentieth box hidden. The same count always gives the same graph.
TLayoutGraph generate_layered_graph(std::size_t boxes);

// The graph as the input of `tarnwell-cli layered`.
void write_graph_json(const TLayoutGraph& graph, std::ostream& out);

// The visible part of the graph in the dot language: fixed-size boxes (72 pixels to the
// inch) and each connection pointing the way the layout directs it, ancestor to descendant.
void write_graph_dot(const TLayoutGraph& graph, std::ostream& out);

}  // namespace tarnwell
