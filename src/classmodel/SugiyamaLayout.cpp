#include "classmodel/SugiyamaLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

namespace tarnwell {

namespace sugiyama {

namespace {

// Nearest integer, halves to even.
std::int64_t RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    auto result = static_cast<std::int64_t>(below);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
    return result;
}

// Tarjan's search for strongly connected components, as one pass over the graph from a root
// that reaches every node. The search runs on its own stack so that a long chain of boxes
// cannot exhaust the call stack.
class CycleSearch {
  public:
    explicit CycleSearch(TNodeList& nodes) : nodes_(nodes) {
        root_.Id = nodes.size();
        for (const auto& node : nodes) root_.OutEdges.push_back({&root_, node.get()});
    }

    // One pass; reverses one edge in each component of more than one node. Answers whether
    // there was such a component.
    bool Pass() {
        records_.assign(nodes_.size() + 1, {});
        component_of_.assign(nodes_.size() + 1, 0);
        components_ = 0;
        counter_ = 0;
        cycles_ = false;
        Visit(root_);
        return cycles_;
    }

  private:
    struct Record {
        bool Visited = false;
        bool Finished = false;
        int Index = 0;
        int Low = 0;
    };
    struct Frame {
        TNode* Node;
        std::size_t NextEdge;
    };

    Record& RecordOf(const TNode& node) { return records_[node.Id]; }

    void Enter(TNode& node) {
        stack_.push_back(&node);
        Record& record = RecordOf(node);
        record.Visited = true;
        record.Index = record.Low = counter_++;
        frames_.push_back({&node, 0});
    }

    void Visit(TNode& start) {
        Enter(start);
        while (!frames_.empty()) {
            Frame& frame = frames_.back();
            TNode& v = *frame.Node;
            if (frame.NextEdge < v.OutEdges.size()) {
                TNode& w = *v.OutEdges[frame.NextEdge++].ToNode;
                const Record& target = RecordOf(w);
                if (target.Finished) continue;
                if (!target.Visited) {
                    Enter(w);
                } else {
                    RecordOf(v).Low = std::min(RecordOf(v).Low, target.Index);
                }
                continue;
            }
            frames_.pop_back();
            const Record& done = RecordOf(v);
            if (done.Low == done.Index) PopComponent(v);
            if (!frames_.empty()) {
                Record& parent = RecordOf(*frames_.back().Node);
                parent.Low = std::min(parent.Low, done.Low);
            }
        }
    }

    void PopComponent(const TNode& v) {
        std::vector<TNode*>& members = members_;
        members.clear();
        ++components_;
        TNode* member = nullptr;
        do {
            member = stack_.back();
            stack_.pop_back();
            RecordOf(*member).Finished = true;
            component_of_[member->Id] = components_;
            members.push_back(member);
        } while (member != &v);
        if (members.size() > 1) {
            cycles_ = true;
            ReverseOneEdge(members);
        }
    }

    // Picks the edge whose reversal most likely breaks the cycle: one into a node that many
    // edges enter, out of a node that many enter and few leave, best one that is its
    // source's only way out.
    void ReverseOneEdge(const std::vector<TNode*>& members) {
        TNode* from = nullptr;
        std::size_t chosen = 0;
        std::int64_t best = -1;
        for (TNode* u : members) {
            const auto out = static_cast<std::int64_t>(u->OutEdges.size());
            for (std::size_t k = 0; k < u->OutEdges.size(); ++k) {
                const TNode& t = *u->OutEdges[k].ToNode;
                if (component_of_[t.Id] != components_) continue;
                const std::int64_t score = static_cast<std::int64_t>(t.InEdges.size()) +
                                           static_cast<std::int64_t>(u->InEdges.size()) - out +
                                           (out == 1 ? 50 : 0);
                // The first edge inside the component stands, at -1, until one scores more.
                if (from == nullptr || score > best) {
                    from = u;
                    chosen = k;
                }
                best = std::max(best, score);
            }
        }
        TNode& to = *from->OutEdges[chosen].ToNode;
        const auto in = std::find_if(to.InEdges.begin(), to.InEdges.end(),
                                     [from](const TEdge& e) { return e.FromNode == from; });
        to.InEdges.erase(in);
        from->OutEdges.erase(from->OutEdges.begin() + static_cast<std::ptrdiff_t>(chosen));
        AddEdge(to, *from);
    }

    TNodeList& nodes_;
    TNode root_;
    std::vector<Record> records_;
    std::vector<std::size_t> component_of_;
    std::size_t components_ = 0;
    std::vector<TNode*> stack_;
    std::vector<Frame> frames_;
    std::vector<TNode*> members_;  // of the component being popped
    int counter_ = 0;
    bool cycles_ = false;
};

// Reverses every edge that leads back to a node on the path of a depth-first search, which
// leaves no cycle but a node's edges to itself. Used when the passes that reverse one edge per
// component at a time would take too long.
void ReverseBackEdges(TNodeList& nodes) {
    enum class state : std::uint8_t { unseen, on_path, done };
    std::vector<state> states(nodes.size(), state::unseen);
    std::vector<std::pair<TNode*, TNode*>> back_edges;
    std::vector<std::pair<TNode*, std::size_t>> path;
    for (const auto& start : nodes) {
        if (states[start->Id] != state::unseen) continue;
        states[start->Id] = state::on_path;
        path.emplace_back(start.get(), 0);
        while (!path.empty()) {
            auto& [node, next] = path.back();
            if (next == node->OutEdges.size()) {
                states[node->Id] = state::done;
                path.pop_back();
                continue;
            }
            TNode* target = node->OutEdges[next++].ToNode;
            if (states[target->Id] == state::on_path) {
                if (target != node) back_edges.emplace_back(node, target);
            } else if (states[target->Id] == state::unseen) {
                states[target->Id] = state::on_path;
                path.emplace_back(target, 0);
            }
        }
    }
    for (const auto& [from, to] : back_edges) {
        const auto out = std::find_if(from->OutEdges.begin(), from->OutEdges.end(),
                                      [to = to](const TEdge& e) { return e.ToNode == to; });
        from->OutEdges.erase(out);
        const auto in = std::find_if(to->InEdges.begin(), to->InEdges.end(),
                                     [from = from](const TEdge& e) { return e.FromNode == from; });
        to->InEdges.erase(in);
        AddEdge(*to, *from);
    }
}

// `Weight` := the average `Order` of the nodes at the far end of the node's edges of one side;
// then the layer is sorted by `Weight` and `Order` set to the new place. The sort runs on
// copies of the weights, which keeps it within the cache on layers of thousands of nodes.
void SweepLayer(std::vector<TNode*>& layer, TEdgeList TNode::*edges, TNode* TEdge::*far_end,
                std::vector<std::pair<float, TNode*>>& scratch) {
    scratch.clear();
    for (TNode* node : layer) {
        const TEdgeList& list = node->*edges;
        std::int64_t sum = 0;
        for (const TEdge& edge : list) sum += (edge.*far_end)->Order;
        node->Weight =
            list.empty()
                ? 0.0F
                : static_cast<float>(static_cast<double>(sum) / static_cast<double>(list.size()));
        scratch.emplace_back(node->Weight, node);
    }
    std::stable_sort(scratch.begin(), scratch.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < layer.size(); ++i) {
        layer[i] = scratch[i].second;
        layer[i]->Order = static_cast<int>(i);
    }
}

std::int64_t Centre(const TNode& node) {
    return node.X + node.Width / 2;
}

}  // namespace

void AddEdge(TNode& from, TNode& to) {
    from.OutEdges.push_back({&from, &to});
    to.InEdges.push_back({&from, &to});
}

TNodeList LoadGraph(TLayoutGraph& graph) {
    TNodeList nodes;
    std::vector<TNode*> node_of_box(graph.Boxes.size(), nullptr);
    for (std::size_t i = 0; i < graph.Boxes.size(); ++i) {
        TLayoutBox& box = graph.Boxes[i];
        if (!box.Visible) continue;
        auto node = std::make_unique<TNode>();
        node->Id = nodes.size();
        node->Height = box.Height;
        node->Width = box.Width;
        node->Box = &box;
        node_of_box[i] = node.get();
        nodes.push_back(std::move(node));
    }
    const auto node_at = [&](std::size_t box) {
        return box < node_of_box.size() ? node_of_box[box] : nullptr;
    };
    for (const TLayoutConnection& connection : graph.Connections) {
        TNode* source = node_at(connection.From);
        TNode* target = node_at(connection.To);
        if (source == nullptr || target == nullptr) continue;
        if (connection.Inheritance) {
            AddEdge(*target, *source);
        } else {
            AddEdge(*source, *target);
        }
    }
    return nodes;
}

void RemoveCycles(TNodeList& nodes) {
    CycleSearch search(nodes);
    std::size_t edges = 0;
    for (const auto& node : nodes) edges += node->OutEdges.size();
    // Every pass walks the whole graph; beyond the usual passes, more are run only as long as
    // their total work stays within a fixed budget.
    const std::size_t work_per_pass = nodes.size() + edges + 1;
    const std::size_t passes_in_budget =
        std::max<std::size_t>(CycleRemovalPasses, CycleRemovalWork / work_per_pass);
    for (std::size_t passes = 1;; ++passes) {
        if (!search.Pass()) return;
        if (passes >= passes_in_budget) break;
    }
    ReverseBackEdges(nodes);
}

void AssignLayers(TNodeList& nodes) {
    std::vector<std::size_t> in_degree(nodes.size());
    std::vector<std::size_t> number(nodes.size(), 0);
    std::vector<TNode*> stack;
    for (const auto& node : nodes) {
        in_degree[node->Id] = node->InEdges.size();
        if (in_degree[node->Id] == 0) stack.push_back(node.get());
    }
    if (stack.empty()) throw layout_error("empty layout or connection-cycles");
    std::size_t next = 1;
    while (!stack.empty()) {
        TNode* node = stack.back();
        stack.pop_back();
        number[node->Id] = next++;
        for (const TEdge& edge : node->OutEdges) {
            const std::size_t target = edge.ToNode->Id;
            if (--in_degree[target] == 0 && number[target] == 0) stack.push_back(edge.ToNode);
        }
    }
    if (next <= nodes.size()) throw layout_error("connection-cycles");

    std::sort(nodes.begin(), nodes.end(),
              [&](const auto& a, const auto& b) { return number[a->Id] < number[b->Id]; });
    for (std::size_t i = 0; i < nodes.size(); ++i) nodes[i]->Id = i;
    for (const auto& node : nodes) {
        node->Layer = 0;
        for (const TEdge& edge : node->InEdges)
            node->Layer = std::max(node->Layer, edge.FromNode->Layer + 1);
    }
}

void InsertDummies(TNodeList& nodes) {
    const std::size_t real = nodes.size();
    std::size_t dummies = 0;
    for (std::size_t i = 0; i < real; ++i) {
        for (const TEdge& edge : nodes[i]->OutEdges) {
            const int span = edge.ToNode->Layer - nodes[i]->Layer;
            if (span > 1) dummies += static_cast<std::size_t>(span - 1);
        }
    }
    if (dummies > MaxNodes - std::min(real, MaxNodes)) throw layout_error("Layout failed.");

    for (std::size_t i = 0; i < real; ++i) {
        TNode* node = nodes[i].get();
        for (TEdge& out : node->OutEdges) {
            TNode* target = out.ToNode;
            const int span = target->Layer - node->Layer;
            if (span <= 1) continue;
            TNode* first = nullptr;
            TNode* last = nullptr;
            for (int k = 0; k < span - 1; ++k) {
                auto dummy = std::make_unique<TNode>();
                dummy->Id = nodes.size();
                dummy->IsDummy = true;
                dummy->Width = DummyWidth;
                dummy->Height = 0;
                dummy->Layer = node->Layer + 1 + k;
                if (last == nullptr) {
                    first = dummy.get();
                } else {
                    AddEdge(*last, *dummy);
                }
                last = dummy.get();
                nodes.push_back(std::move(dummy));
            }
            const auto in = std::find_if(target->InEdges.begin(), target->InEdges.end(),
                                         [node](const TEdge& e) { return e.FromNode == node; });
            in->FromNode = last;
            last->OutEdges.push_back({last, target});
            out.ToNode = first;
            first->InEdges.push_back({node, first});
        }
    }
}

TLayerList BuildLayers(const TNodeList& nodes) {
    TLayerList layers;
    for (const auto& node : nodes) {
        if (node->InEdges.empty() && node->OutEdges.empty()) continue;
        const auto layer = static_cast<std::size_t>(node->Layer);
        if (layer >= layers.size()) layers.resize(layer + 1);
        layers[layer].push_back(node.get());
    }
    // The layers that still take unconnected nodes, smallest first, then from the top.
    std::set<std::pair<std::size_t, std::size_t>> open;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (layers[i].size() < UnconnectedPerLayer) open.emplace(layers[i].size(), i);
    }
    for (const auto& node : nodes) {
        if (!node->InEdges.empty() || !node->OutEdges.empty()) continue;
        std::size_t layer = layers.size();
        if (open.empty()) {
            layers.emplace_back();
        } else {
            layer = open.begin()->second;
            open.erase(open.begin());
        }
        layers[layer].push_back(node.get());
        if (layers[layer].size() < UnconnectedPerLayer) open.emplace(layers[layer].size(), layer);
    }
    return layers;
}

std::int64_t CountCrossings(TLayerList& layers) {
    std::int64_t crossings = 0;
    // The lower ends of the edges between two layers, upper node by upper node from the left,
    // each node's ends from the left.
    std::vector<std::size_t> ends;
    // A Fenwick tree over the lower layer: how many of the ends seen so far lie at each place.
    std::vector<std::int64_t> seen;
    for (std::size_t i = 0; i + 1 < layers.size(); ++i) {
        const std::vector<TNode*>& lower = layers[i + 1];
        for (std::size_t k = 0; k < lower.size(); ++k) lower[k]->Position = k;
        ends.clear();
        for (const TNode* node : layers[i]) {
            const auto first = static_cast<std::ptrdiff_t>(ends.size());
            for (const TEdge& edge : node->OutEdges) ends.push_back(edge.ToNode->Position);
            std::sort(ends.begin() + first, ends.end());
        }
        // An edge crosses every edge before it that ends further right.
        seen.assign(lower.size() + 1, 0);
        for (std::size_t e = 0; e < ends.size(); ++e) {
            std::int64_t not_right = 0;
            for (std::size_t k = ends[e] + 1; k > 0; k &= k - 1) not_right += seen[k];
            crossings += static_cast<std::int64_t>(e) - not_right;
            for (std::size_t k = ends[e] + 1; k < seen.size(); k += k & (~k + 1)) ++seen[k];
        }
    }
    return crossings;
}

void ReduceCrossings(TLayerList& layers) {
    std::size_t count = 0;
    for (const auto& layer : layers) {
        for (std::size_t i = 0; i < layer.size(); ++i) layer[i]->Order = static_cast<int>(i);
        count += layer.size();
    }
    std::vector<int> best_order(count);
    const auto remember = [&] {
        for (const auto& layer : layers)
            for (const TNode* node : layer) best_order[node->Id] = node->Order;
    };
    remember();
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    const auto keep_if_better = [&] {
        const std::int64_t crossings = CountCrossings(layers);
        if (crossings < best) {
            best = crossings;
            remember();
        }
    };
    std::vector<std::pair<float, TNode*>> scratch;
    for (int iteration = 1;; ++iteration) {
        for (std::size_t i = 1; i < layers.size(); ++i)
            SweepLayer(layers[i], &TNode::InEdges, &TEdge::FromNode, scratch);
        keep_if_better();
        if (best == 0) break;
        for (std::size_t i = layers.size(); i >= 2; --i)
            SweepLayer(layers[i - 2], &TNode::OutEdges, &TEdge::ToNode, scratch);
        keep_if_better();
        if (iteration >= CrossingIterations || best == 0) break;
    }
    for (auto& layer : layers) {
        for (TNode* node : layer) node->Order = best_order[node->Id];
        std::sort(layer.begin(), layer.end(),
                  [](const TNode* a, const TNode* b) { return a->Order < b->Order; });
    }
}

void AssignRows(TLayerList& layers) {
    std::int64_t y = FirstRow;
    for (const auto& layer : layers) {
        int tallest = 0;
        for (TNode* node : layer) {
            node->Y = y;
            tallest = std::max(tallest, node->Height);
        }
        y += tallest + LayerGap;
    }
}

void AssignColumns(TLayerList& layers) {
    for (const auto& layer : layers) {
        std::int64_t x = ColumnGap;
        for (TNode* node : layer) {
            node->X = x;
            x += node->Width + ColumnGap;
        }
    }
    std::vector<float> force;
    std::int64_t smallest = std::numeric_limits<std::int64_t>::max();
    for (int iteration = 1;; ++iteration) {
        std::int64_t total = 0;
        for (const auto& layer : layers) {
            force.assign(layer.size(), 0.0F);
            for (std::size_t i = 0; i < layer.size(); ++i) {
                const TNode& node = *layer[i];
                const std::size_t degree = node.InEdges.size() + node.OutEdges.size();
                if (degree == 0) continue;
                std::int64_t c = 0;
                for (const TEdge& edge : node.InEdges) c += Centre(*edge.FromNode) - Centre(node);
                for (const TEdge& edge : node.OutEdges) c += Centre(*edge.ToNode) - Centre(node);
                total += c < 0 ? -c : c;
                force[i] = static_cast<float>(static_cast<double>(c) / static_cast<double>(degree));
            }
            const auto gap_before = [&](std::size_t j) {
                return layer[j]->X - layer[j - 1]->X - layer[j - 1]->Width;
            };
            for (std::size_t start = 0; start < layer.size();) {
                std::size_t end = start + 1;
                while (end < layer.size() && force[end] <= force[end - 1] &&
                       gap_before(end) <= ColumnGap)
                    ++end;
                double sum = 0;
                for (std::size_t j = start; j < end; ++j) sum += force[j];
                const auto average = static_cast<float>(sum / static_cast<double>(end - start));
                const std::int64_t r = RoundHalfEven(average);
                std::int64_t move = 0;
                if (average > 0) {
                    const std::int64_t room = end < layer.size()
                                                  ? gap_before(end) - ColumnGap
                                                  : std::numeric_limits<std::int64_t>::max();
                    move = std::min(room, r);
                } else if (average < 0) {
                    const std::int64_t room =
                        start > 0 ? gap_before(start) - ColumnGap : layer[start]->X - ColumnGap;
                    move = -std::min(room, -r);
                }
                for (std::size_t j = start; j < end; ++j) layer[j]->X += move;
                start = end;
            }
        }
        if (total >= smallest) break;
        smallest = total;
        if (iteration >= ColumnIterations || total == 0) break;
    }
}

void WriteBack(const TNodeList& nodes) {
    for (const auto& node : nodes) {
        if (node->IsDummy) continue;
        node->Box->Left = node->X;
        node->Box->Top = node->Y;
    }
}

}  // namespace sugiyama

TLayoutResult TSugiyamaLayout::Execute() {
    using namespace sugiyama;
    try {
        TNodeList nodes = LoadGraph(graph_);
        RemoveCycles(nodes);
        AssignLayers(nodes);
        InsertDummies(nodes);
        TLayerList layers = BuildLayers(nodes);
        ReduceCrossings(layers);
        AssignRows(layers);
        AssignColumns(layers);
        WriteBack(nodes);
    } catch (const layout_error& error) {
        return {false, error.what()};
    }
    return {};
}

}  // namespace tarnwell
