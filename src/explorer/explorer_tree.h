// The code explorer's tree without its window: the category roots of a language, the
// procedure nodes a scan reports under them, and the list that ties each node to its lines.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/explorer_categories.h"

namespace tarnwell {

// The lines of a procedure as its position text "decl-begin-end" gives them; -1 where a
// number is missing.
struct procedure_lines {
    int declaration = -1;
    int begin = -1;
    int end = -1;

    bool operator==(const procedure_lines&) const = default;
};
procedure_lines parse_position(std::string_view position);

// A procedure node: an entry of the node position list, in the order the scanner reported it.
struct procedure_entry {
    std::string position;  // "decl-begin-end"
    std::string name;
    int category = 0;
};

struct explorer_root {
    std::string text;
    int category = 0;
    bool expanded = false;
    std::vector<std::size_t> children;  // indices into the node position list, in tree order
};

// A node of the tree: a root, or one child of it.
struct node_ref {
    std::size_t root = 0;
    std::optional<std::size_t> child;

    bool operator==(const node_ref&) const = default;
};

class explorer_tree {
  public:
    // Deletes every node, then appends a root for each entry of the category order (the
    // default order when it is empty) that names a category shown for the language kind and
    // not hidden. A name listed twice gives a second root that takes over the category; the
    // first stays empty.
    void build_roots(int language_kind, const TCodeExplorerProperties& properties);
    // Deletes the procedure nodes and the node position list; the roots stay.
    void clear_procedures();
    // Adds the procedures of a scanner's result text, one result line each ("decl-begin-end"
    // "|" tag "|" name); lines whose tag has no root add nothing. Then sets each root's
    // expansion and, with AlphaSort, sorts each root's procedures by name.
    void add_result(std::string_view result_text, const TCodeExplorerProperties& properties);

    const std::vector<explorer_root>& roots() const { return roots_; }
    // The node position list.
    const std::vector<procedure_entry>& entries() const { return entries_; }
    // The root that takes a category's procedures.
    std::optional<std::size_t> category_root(int category) const;

    // Absolute index: the place of a node when every node is counted in tree order, roots
    // and children alike, expanded or not.
    std::size_t node_count() const;
    std::optional<node_ref> node_at(std::size_t absolute_index) const;
    std::optional<std::size_t> absolute_index(node_ref node) const;
    // The node of a node position list entry.
    std::optional<node_ref> node_of_entry(std::size_t entry) const;
    // The entry of a procedure node.
    std::optional<std::size_t> entry_of(node_ref node) const;

    // The first procedure, in the order the scanner reported them, whose lines from its
    // declaration to its end hold the line.
    std::optional<std::size_t> procedure_at_line(int line) const;

  private:
    bool add_procedure(std::string_view line);

    std::vector<explorer_root> roots_;
    std::vector<procedure_entry> entries_;
    std::array<std::optional<std::size_t>, category_count> category_roots_{};
};

}  // namespace tarnwell
