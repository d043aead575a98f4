// A flowchart as text that documentation tools draw: Mermaid ("flowchart TD") and Graphviz
// (DOT). One node per cell of the export layout, shaped after its symbol and labelled with the
// cell's display text; the export layout's connectors as edges, with "true" and "false" where
// a branch leaves a decision; junctions folded into the edges that pass through them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "officeexport/cell_table.h"
#include "officeexport/keyword_list.h"

namespace tarnwell {

enum class node_shape { terminal, process, decision, loop, subroutine, jump };

// The shape that stands for a symbol code; junctions and selection ends have none (they fold).
node_shape shape_of_code(int code);
bool folded_code(int code);

struct text_node {
    node_shape shape = node_shape::process;
    std::string label;  // valid UTF-8, lines separated by "\n", cut at `label_limit`
};

struct text_edge {
    std::size_t from = 0;
    std::size_t to = 0;
    std::string label;  // "true", "false" or empty
    bool operator==(const text_edge&) const = default;
};

struct text_chart {
    std::vector<text_node> nodes;
    std::vector<text_edge> edges;
};

// Labels longer than this many characters are cut and end in "...".
inline constexpr std::size_t label_limit = 120;

// The nodes and edges of a cell table; `keywords` gives each symbol's word (the start cell
// shows the function name when the list carries it).
text_chart chart_of_table(const cell_table& table, const keyword_list& keywords);

std::string mermaid_flowchart(const text_chart& chart);
// The Mermaid text in a fenced block for Markdown.
std::string mermaid_markdown(const text_chart& chart);
std::string graphviz_flowchart(const text_chart& chart, std::string_view graph_name);

// A label in the quoted form each syntax reads.
std::string mermaid_label(std::string_view text);
std::string dot_label(std::string_view text);

}  // namespace tarnwell
