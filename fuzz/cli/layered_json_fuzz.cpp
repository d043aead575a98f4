// The layered layout's JSON input on arbitrary bytes: the reader either refuses the text with
// its message or gives a graph whose edges name existing boxes, which the layered layout then
// places without crashing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "classmodel/vixLayout.h"
#include "cli/json_reader.h"
#include "cli/layered_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarnwell::TLayoutGraph graph;
    try {
        graph = tarnwell::cli::parse_layout_graph(text);
    } catch (const tarnwell::cli::json_error& error) {
        if (std::string_view(error.what()).empty()) std::abort();
        return 0;
    }
    for (const tarnwell::TLayoutConnection& edge : graph.Connections) {
        if (edge.From >= graph.Boxes.size() || edge.To >= graph.Boxes.size()) std::abort();
    }
    const tarnwell::TLayoutResult result = tarnwell::TVixLayout::CreateLayout(graph)->Execute();
    if (!result.Ok && result.Message.empty()) std::abort();
    return 0;
}
