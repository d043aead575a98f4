#include "layered_graph_generator.h"

#include <cstdint>
#include <ostream>

namespace tarnwell {

namespace {

// splitmix64: the same numbers on every platform and library.
class random_numbers {
  public:
    explicit random_numbers(std::uint64_t seed) : state_(seed) {}
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

  private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

}  // namespace

TLayoutGraph generate_layered_graph(std::size_t boxes) {
    random_numbers random(boxes);
    TLayoutGraph graph;
    for (std::size_t i = 0; i < boxes; ++i) {
        TLayoutBox box;
        box.Width = 120 + static_cast<int>(random.below(180));
        box.Height = 41 + 14 * static_cast<int>(random.below(12));
        box.Visible = i % 20 != 19;
        graph.Boxes.push_back(box);
        if (i > 0 && random.below(4) != 0) graph.Connections.push_back({i, random.below(i), true});
    }
    for (std::size_t k = 0; boxes > 1 && k < boxes / 2; ++k) {
        const std::size_t from = random.below(boxes);
        const std::size_t to = (from + 1 + random.below(boxes - 1)) % boxes;
        graph.Connections.push_back({from, to, false});
    }
    return graph;
}

void write_graph_json(const TLayoutGraph& graph, std::ostream& out) {
    out << "{\"boxes\":[";
    for (std::size_t i = 0; i < graph.Boxes.size(); ++i) {
        const TLayoutBox& box = graph.Boxes[i];
        out << (i == 0 ? "\n" : ",\n") << "{\"w\":" << box.Width << ",\"h\":" << box.Height
            << ",\"visible\":" << (box.Visible ? "true" : "false") << '}';
    }
    out << "],\n\"edges\":[";
    for (std::size_t i = 0; i < graph.Connections.size(); ++i) {
        const TLayoutConnection& c = graph.Connections[i];
        out << (i == 0 ? "\n" : ",\n") << "{\"from\":" << c.From << ",\"to\":" << c.To
            << ",\"inherit\":" << (c.Inheritance ? "true" : "false") << '}';
    }
    out << "]}\n";
}

void write_graph_dot(const TLayoutGraph& graph, std::ostream& out) {
    out << "digraph classes {\n  node [shape=box, fixedsize=true, label=\"\"];\n";
    for (std::size_t i = 0; i < graph.Boxes.size(); ++i) {
        const TLayoutBox& box = graph.Boxes[i];
        if (!box.Visible) continue;
        out << "  n" << i << " [width=" << box.Width / 72.0 << ", height=" << box.Height / 72.0
            << "];\n";
    }
    for (const TLayoutConnection& c : graph.Connections) {
        if (!graph.Boxes[c.From].Visible || !graph.Boxes[c.To].Visible) continue;
        if (c.Inheritance) {
            out << "  n" << c.To << " -> n" << c.From << ";\n";
        } else {
            out << "  n" << c.From << " -> n" << c.To << ";\n";
        }
    }
    out << "}\n";
}

}  // namespace tarnwell
