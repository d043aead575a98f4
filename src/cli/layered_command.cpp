#include "cli/layered_command.h"

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_reader.h"
#include "cli/json_writer.h"

namespace tarnwell::cli {

namespace {

// Reads the members of an object into the given fields, each at most once; `required` lists
// the keys that must be there.
class member_reader {
  public:
    explicit member_reader(json_reader& reader) : reader_(reader) { reader_.begin_object(); }

    // The next member's key, or empty at the end of the object.
    std::string next() {
        std::string key;
        if (!reader_.next_member(key)) return {};
        if (key.empty()) reader_.fail("empty key");
        for (const std::string& seen : seen_)
            if (seen == key) reader_.fail("key " + json_string(key) + " given twice");
        seen_.push_back(key);
        return key;
    }
    bool has(std::string_view key) const {
        for (const std::string& seen : seen_)
            if (seen == key) return true;
        return false;
    }
    void require(std::string_view key, std::string_view where) const {
        if (!has(key)) reader_.fail(std::string(where) + " lacks \"" + std::string(key) + "\"");
    }
    [[noreturn]] void unknown(const std::string& key) const {
        reader_.fail("unknown key " + json_string(key));
    }

  private:
    json_reader& reader_;
    std::vector<std::string> seen_;
};

int read_size(json_reader& reader) {
    return static_cast<int>(reader.read_integer(0, max_box_size));
}

TLayoutBox read_box(json_reader& reader, std::size_t index) {
    TLayoutBox box;
    member_reader members(reader);
    for (std::string key = members.next(); !key.empty(); key = members.next()) {
        if (key == "w") {
            box.Width = read_size(reader);
        } else if (key == "h") {
            box.Height = read_size(reader);
        } else if (key == "visible") {
            box.Visible = reader.read_bool();
        } else {
            members.unknown(key);
        }
    }
    const std::string where = "box " + std::to_string(index);
    members.require("w", where);
    members.require("h", where);
    return box;
}

TLayoutConnection read_edge(json_reader& reader, std::size_t index) {
    TLayoutConnection edge;
    member_reader members(reader);
    constexpr auto last_box = static_cast<std::int64_t>(max_graph_boxes - 1);
    for (std::string key = members.next(); !key.empty(); key = members.next()) {
        if (key == "from") {
            edge.From = static_cast<std::size_t>(reader.read_integer(0, last_box));
        } else if (key == "to") {
            edge.To = static_cast<std::size_t>(reader.read_integer(0, last_box));
        } else if (key == "inherit") {
            edge.Inheritance = reader.read_bool();
        } else {
            members.unknown(key);
        }
    }
    const std::string where = "edge " + std::to_string(index);
    members.require("from", where);
    members.require("to", where);
    return edge;
}

template <class Item, class Read>
void read_list(json_reader& reader, std::vector<Item>& items, std::size_t limit,
               std::string_view what, Read&& read) {
    reader.begin_array();
    while (reader.next_element()) {
        if (items.size() == limit)
            reader.fail("more than " + std::to_string(limit) + " " + std::string(what));
        items.push_back(read(reader, items.size()));
    }
}

std::string positions_json(const TLayoutGraph& graph) {
    std::string text = "[";
    for (const TLayoutBox& box : graph.Boxes) {
        if (text.size() > 1) text += ',';
        text += box.Visible ? json_object().field("left", box.Left).field("top", box.Top).str()
                            : "null";
    }
    return text + "]";
}

}  // namespace

TLayoutGraph parse_layout_graph(std::string_view json) {
    json_reader reader(json);
    TLayoutGraph graph;
    member_reader members(reader);
    for (std::string key = members.next(); !key.empty(); key = members.next()) {
        if (key == "boxes") {
            read_list(reader, graph.Boxes, max_graph_boxes, "boxes", read_box);
        } else if (key == "edges") {
            read_list(reader, graph.Connections, max_graph_edges, "edges", read_edge);
        } else {
            members.unknown(key);
        }
    }
    members.require("boxes", "the graph");
    reader.finish();
    for (std::size_t i = 0; i < graph.Connections.size(); ++i) {
        const TLayoutConnection& edge = graph.Connections[i];
        for (const std::size_t end : {edge.From, edge.To}) {
            if (end >= graph.Boxes.size()) {
                const std::size_t count = graph.Boxes.size();
                throw json_error("edge " + std::to_string(i) + " names box " + std::to_string(end) +
                                 ", but the graph has " + std::to_string(count) +
                                 (count == 1 ? " box" : " boxes"));
            }
        }
    }
    return graph;
}

int run_layered(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, 0);
    const std::string text = read_input(options.file);
    if (text.size() > max_graph_bytes) {
        throw usage_error(options.file + " is larger than " +
                          std::to_string(max_graph_bytes >> 20) + " MiB");
    }
    TLayoutGraph graph;
    try {
        graph = parse_layout_graph(text);
    } catch (const json_error& error) {
        throw usage_error(options.file + ": " + error.what());
    }
    const TLayoutResult result = TVixLayout::CreateLayout(graph)->Execute();
    if (!result.Ok) {
        out << json_object().field("ok", false).field("message", result.Message).str() << '\n';
        return 1;
    }
    out << json_object().field("ok", true).raw_field("boxes", positions_json(graph)).str() << '\n';
    return 0;
}

}  // namespace tarnwell::cli
