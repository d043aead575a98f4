// The layered layout: ancestors above their descendants, few crossing lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "classmodel/uError.h"
#include "classmodel/vixLayout.h"

namespace tarnwell {

namespace sugiyama {

struct TNode;

// Every edge is held twice: in its source's `OutEdges` and in its target's `InEdges`.
struct TEdge {
    TNode* FromNode = nullptr;
    TNode* ToNode = nullptr;
};
using TEdgeList = std::vector<TEdge>;

struct TNode {
    std::size_t Id = 0;  // index in the node list
    TEdgeList InEdges;
    TEdgeList OutEdges;
    int Layer = 0;  // 0 = top
    int Order = 0;  // place in its layer during crossing reduction
    std::size_t Position = 0;
    float Weight = 0;
    bool IsDummy = false;
    std::int64_t X = 0;
    std::int64_t Y = 0;
    int Height = 0;
    int Width = 0;
    TLayoutBox* Box = nullptr;  // none for a dummy
};

// Owns the nodes.
using TNodeList = std::vector<std::unique_ptr<TNode>>;
// Layer 0 first.
using TLayerList = std::vector<std::vector<TNode*>>;

// Raised by a phase; the text is the one the user sees.
struct layout_error : model_error {
    using model_error::model_error;
};

// A dummy stands in for a long edge on each layer it passes.
constexpr int DummyWidth = 200;
// Boxes without connections fill layers up to this many nodes.
constexpr std::size_t UnconnectedPerLayer = 16;
constexpr int LayerGap = 40;
constexpr int FirstRow = 40;
constexpr int ColumnGap = 20;
constexpr int CycleRemovalPasses = 30;
// Node and edge visits that the passes of cycle removal may take in all before the cycles left
// are broken in one depth-first search.
constexpr std::size_t CycleRemovalWork = 5'000'000;
constexpr int CrossingIterations = 21;
constexpr int ColumnIterations = 20;
// Long edges over many layers need a dummy per layer; a graph that would grow past this many
// nodes fails with "Layout failed." before the dummies are made, instead of exhausting memory.
constexpr std::size_t MaxNodes = 1'000'000;

// Appends the edge to `from`'s out-edges and `to`'s in-edges.
void AddEdge(TNode& from, TNode& to);

// A node per visible box, in box order; an edge per connection between visible boxes, from
// ancestor to descendant for inheritance and from source to target otherwise.
TNodeList LoadGraph(TLayoutGraph& graph);

// Reverses edges until no cycle is left, one edge inside each cycle-carrying strongly
// connected component per pass. A graph with many cycles would need more passes than the
// thirty that do for diagrams drawn by hand: passes go on while their work stays within
// `CycleRemovalWork` (at least thirty are run), then the back edges of a depth-first search
// are reversed all at once.
void RemoveCycles(TNodeList& nodes);

// Sorts the nodes topologically, renumbers them and sets `Layer` by longest path from the top;
// "empty layout or connection-cycles" without a node lacking in-edges, "connection-cycles"
// when a cycle is left.
void AssignLayers(TNodeList& nodes);

// Splits every edge that spans more than one layer by a chain of dummies.
void InsertDummies(TNodeList& nodes);

// The layers of the connected nodes, then the unconnected ones filling the smallest layers.
TLayerList BuildLayers(const TNodeList& nodes);

// Orders each layer by barycentre sweeps, keeping the order with the fewest crossings.
void ReduceCrossings(TLayerList& layers);

// The number of pairs of edges that cross between adjacent layers, in the layers' order;
// sets `Position` of every node below the top layer to its place in its layer. Edges with an
// end in common do not cross.
std::int64_t CountCrossings(TLayerList& layers);

// `Y` of every node: each layer below the tallest node of the layer above.
void AssignRows(TLayerList& layers);

// `X` of every node: side by side, then moved in blocks towards their neighbours.
void AssignColumns(TLayerList& layers);

// The boxes of the real nodes take their positions.
void WriteBack(const TNodeList& nodes);

}  // namespace sugiyama

class TSugiyamaLayout : public TVixLayout {
  public:
    explicit TSugiyamaLayout(TLayoutGraph& graph) : graph_(graph) {}
    TLayoutResult Execute() override;

  private:
    TLayoutGraph& graph_;
};

}  // namespace tarnwell
