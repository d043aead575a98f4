#include "officeexport/flowchart_text.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "layout/export_cells.h"
#include "officeexport/ooxml_text.h"

namespace tarnwell {

namespace {

using grid_key = std::pair<int, int>;  // column index, row

// Blanks for control bytes, "\n" for every line end, valid UTF-8, and at most `label_limit`
// characters.
std::string clean_label(std::string_view text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines += '\n';
        } else if (c == '\n') {
            lines += '\n';
        } else {
            lines += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
        }
    }
    const std::string utf8 = office_text(lines);
    std::string cut;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80 && ++characters > label_limit) {
            cut += "...";
            return cut;
        }
        cut += utf8[i];
    }
    return cut;
}

const char* mermaid_open(node_shape shape) {
    switch (shape) {
        case node_shape::terminal:
            return "([";
        case node_shape::decision:
            return "{";
        case node_shape::loop:
            return "{{";
        case node_shape::subroutine:
            return "[[";
        case node_shape::jump:
            return "(";
        case node_shape::process:
            break;
    }
    return "[";
}

const char* mermaid_close(node_shape shape) {
    switch (shape) {
        case node_shape::terminal:
            return "])";
        case node_shape::decision:
            return "}";
        case node_shape::loop:
            return "}}";
        case node_shape::subroutine:
            return "]]";
        case node_shape::jump:
            return ")";
        case node_shape::process:
            break;
    }
    return "]";
}

const char* dot_shape(node_shape shape) {
    switch (shape) {
        case node_shape::terminal:
            return "shape=oval";
        case node_shape::decision:
            return "shape=diamond";
        case node_shape::loop:
            return "shape=hexagon";
        case node_shape::subroutine:
            return "shape=box, peripheries=2";
        case node_shape::jump:
            return "shape=box, style=rounded";
        case node_shape::process:
            break;
    }
    return "shape=box";
}

}  // namespace

bool folded_code(int code) {
    return code == export_junction || code == export_switch_end;
}

node_shape shape_of_code(int code) {
    switch (code) {
        case export_start:
        case export_end:
        case export_return:
        case export_exit:
            return node_shape::terminal;
        case export_if:
        case export_switch_head:
        case export_while_test:
        case export_until_test:
            return node_shape::decision;
        case export_for_head:
            return node_shape::loop;
        case export_sequence:
        case export_except:
        case export_for_collapsed:
        case export_dountil_collapsed:
        case export_dowhile_collapsed:
        case export_untildo_collapsed:
        case export_whiledo_collapsed:
        case export_switch_collapsed:
        case export_if_collapsed:
            return node_shape::subroutine;
        case export_break:
        case export_continue:
        case export_goto:
            return node_shape::jump;
        default:
            return node_shape::process;
    }
}

text_chart chart_of_table(const cell_table& table, const keyword_list& keywords) {
    text_chart chart;
    // Every place of the layout: a node's number, or none for a junction.
    std::map<grid_key, std::optional<std::size_t>> places;
    for (const cell_table::placed_entry& placed : table.entries()) {
        const grid_key key{placed.column_index, placed.row};
        if (folded_code(placed.entry.code)) {
            places.emplace(key, std::nullopt);
            continue;
        }
        // The start and the end stand for the function itself: their word says it all.
        const bool terminal = placed.entry.code == export_start || placed.entry.code == export_end;
        const std::string text =
            terminal
                ? std::string(keyword_of(keywords, placed.entry.code))
                : trimmed_display_text(display_text(keywords, placed.entry, display_options{}));
        chart.nodes.push_back({shape_of_code(placed.entry.code), clean_label(text)});
        places.emplace(key, chart.nodes.size() - 1);
    }

    std::multimap<grid_key, std::pair<grid_key, std::string>> outgoing;
    for (const export_connector& c : table.connectors()) {
        std::string label;
        if (c.code == export_true_line) label = "true";
        if (c.code == export_false_line) label = "false";
        outgoing.emplace(grid_key{table.column_index(c.first_column), c.first_row},
                         std::make_pair(grid_key{table.column_index(c.second_column), c.second_row},
                                        std::move(label)));
    }

    // From each node, follow the connectors through junctions to the nodes they reach; the
    // label is the first one met on the way.
    std::set<std::tuple<std::size_t, std::size_t, std::string>> seen;
    for (const auto& placed : places) {
        const grid_key& key = placed.first;
        const auto& node = placed.second;
        if (!node) continue;
        std::set<grid_key> passed;
        std::function<void(const grid_key&, const std::string&)> follow =
            [&](const grid_key& from, const std::string& label) {
                const auto [first, last] = outgoing.equal_range(from);
                for (auto it = first; it != last; ++it) {
                    const auto& [to, own_label] = it->second;
                    const std::string& carried = label.empty() ? own_label : label;
                    const auto place = places.find(to);
                    if (place == places.end()) continue;
                    if (place->second) {
                        if (seen.emplace(*node, *place->second, carried).second) {
                            chart.edges.push_back({*node, *place->second, carried});
                        }
                    } else if (passed.insert(to).second) {
                        follow(to, carried);
                    }
                }
            };
        follow(key, "");
    }

    // After a return nothing flows into the end symbol: a lone end would only stand apart.
    std::vector<bool> reached(chart.nodes.size(), false);
    for (const text_edge& edge : chart.edges) reached[edge.to] = true;
    for (const auto& [key, node] : places) {
        if (!node || reached[*node]) continue;
        const auto& entry = table.at(key.first, key.second);
        if (entry.code != export_end) continue;
        chart.nodes.erase(chart.nodes.begin() + static_cast<std::ptrdiff_t>(*node));
        for (text_edge& edge : chart.edges) {
            if (edge.from > *node) --edge.from;
            if (edge.to > *node) --edge.to;
        }
        break;
    }
    return chart;
}

std::string mermaid_label(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "#quot;";
                break;
            case '#':
                out += "#35;";
                break;
            case '<':
                out += "#lt;";
                break;
            case '>':
                out += "#gt;";
                break;
            case '&':
                out += "#amp;";
                break;
            case '`':
                out += "#96;";
                break;
            case '\n':
                out += "<br/>";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string dot_label(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string mermaid_flowchart(const text_chart& chart) {
    std::string out = "flowchart TD\n";
    for (std::size_t i = 0; i < chart.nodes.size(); ++i) {
        const text_node& node = chart.nodes[i];
        out += "    n" + std::to_string(i) + mermaid_open(node.shape) + mermaid_label(node.label) +
               mermaid_close(node.shape) + "\n";
    }
    for (const text_edge& edge : chart.edges) {
        out += "    n" + std::to_string(edge.from) + " -->";
        if (!edge.label.empty()) out += "|" + edge.label + "|";
        out += " n" + std::to_string(edge.to) + "\n";
    }
    return out;
}

std::string mermaid_markdown(const text_chart& chart) {
    return "```mermaid\n" + mermaid_flowchart(chart) + "```\n";
}

std::string graphviz_flowchart(const text_chart& chart, std::string_view graph_name) {
    std::string out = "digraph " + dot_label(clean_label(graph_name)) + " {\n";
    out += "    node [fontname=\"DejaVu Sans\", fontsize=10];\n";
    out += "    edge [fontname=\"DejaVu Sans\", fontsize=9];\n";
    for (std::size_t i = 0; i < chart.nodes.size(); ++i) {
        const text_node& node = chart.nodes[i];
        out += "    n" + std::to_string(i) + " [" + dot_shape(node.shape) +
               ", label=" + dot_label(node.label) + "];\n";
    }
    for (const text_edge& edge : chart.edges) {
        out += "    n" + std::to_string(edge.from) + " -> n" + std::to_string(edge.to);
        if (!edge.label.empty()) out += " [label=" + dot_label(edge.label) + "]";
        out += ";\n";
    }
    return out + "}\n";
}

}  // namespace tarnwell
