#include "cli/layered_command.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/json_reader.h"
#include "cli/json_writer.h"

namespace tarnwell::cli {

namespace {

// Walks the members of an object whose keys are all known, each given at most once.
class member_reader {
  public:
    member_reader(json_reader& reader, std::span<const std::string_view> keys)
        : reader_(reader), keys_(keys) {
        reader_.begin_object();
    }

    // The place among the keys of the next member's key; false at the end of the object.
    bool next(std::size_t& key) {
        if (!reader_.next_member(name_)) return false;
        key =
            static_cast<std::size_t>(std::find(keys_.begin(), keys_.end(), name_) - keys_.begin());
        if (key == keys_.size()) reader_.fail("unknown key " + json_string(name_));
        if ((seen_ & (1u << key)) != 0) reader_.fail("key " + json_string(name_) + " given twice");
        seen_ |= 1u << key;
        return true;
    }
    bool has(std::size_t place) const { return (seen_ & (1u << place)) != 0; }

  private:
    json_reader& reader_;
    std::span<const std::string_view> keys_;
    std::string name_;
    unsigned seen_ = 0;
};

// The members of a box or an edge: two integers from 0 to `maximum`, both required, and a
// flag that may be left out.
struct record {
    std::int64_t numbers[2] = {};
    std::optional<bool> flag;
};

record read_record(json_reader& reader, std::span<const std::string_view, 3> keys,
                   std::int64_t maximum, std::string_view what, std::size_t index) {
    record result;
    member_reader members(reader, keys);
    for (std::size_t key = 0; members.next(key);) {
        if (key < 2) {
            result.numbers[key] = reader.read_integer(0, maximum);
        } else {
            result.flag = reader.read_bool();
        }
    }
    for (std::size_t key = 0; key < 2; ++key) {
        if (!members.has(key)) {
            reader.fail(std::string(what) + " " + std::to_string(index) + " lacks \"" +
                        std::string(keys[key]) + "\"");
        }
    }
    return result;
}

TLayoutBox read_box(json_reader& reader, std::size_t index) {
    static constexpr std::string_view keys[] = {"w", "h", "visible"};
    const record r = read_record(reader, keys, max_box_size, "box", index);
    return {static_cast<int>(r.numbers[0]), static_cast<int>(r.numbers[1]), r.flag.value_or(true),
            0, 0};
}

TLayoutConnection read_edge(json_reader& reader, std::size_t index) {
    static constexpr std::string_view keys[] = {"from", "to", "inherit"};
    const record r = read_record(reader, keys, max_graph_boxes - 1, "edge", index);
    return {static_cast<std::size_t>(r.numbers[0]), static_cast<std::size_t>(r.numbers[1]),
            r.flag.value_or(false)};
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
    enum { boxes, edges };
    static constexpr std::string_view keys[] = {"boxes", "edges"};
    member_reader members(reader, keys);
    for (std::size_t key = 0; members.next(key);) {
        if (key == boxes) {
            read_list(reader, graph.Boxes, max_graph_boxes, "boxes", read_box);
        } else {
            read_list(reader, graph.Connections, max_graph_edges, "edges", read_edge);
        }
    }
    if (!members.has(boxes)) reader.fail("the graph lacks \"boxes\"");
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
