// Writes a generated graph of the layered layout's benchmarks as JSON for tarnwell-cli and in
// the dot language, for comparisons with other tools.
#include <charconv>
#include <fstream>
#include <iostream>
#include <string_view>

#include "layered_graph_generator.h"

int main(int argc, char** argv) {
    std::size_t boxes = 0;
    const std::string_view count = argc == 4 ? argv[3] : "";
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), boxes);
    if (argc != 4 || error != std::errc() || end != count.data() + count.size() || boxes < 1) {
        std::cerr << "usage: classmodel_make_layered_graph OUT.json OUT.dot BOXES\n";
        return 2;
    }
    const tarnwell::TLayoutGraph graph = tarnwell::generate_layered_graph(boxes);
    std::ofstream json(argv[1], std::ios::binary);
    tarnwell::write_graph_json(graph, json);
    std::ofstream dot(argv[2], std::ios::binary);
    tarnwell::write_graph_dot(graph, dot);
    if (!json.flush() || !dot.flush()) {
        std::cerr << "classmodel_make_layered_graph: cannot write " << argv[1] << " or " << argv[2]
                  << '\n';
        return 2;
    }
    return 0;
}
