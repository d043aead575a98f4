// The syntax trees of tree-sitter as the reader and the function finder use them: a parser
// that owns its trees, the rule of each node type, and the few walks over nodes both need.
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "parsers/tree_grammar.h"

namespace tarnwell {

// A parsed tree; freed with its owner.
struct syntax_tree_deleter {
    void operator()(TSTree* tree) const { ts_tree_delete(tree); }
};
using syntax_tree = std::unique_ptr<TSTree, syntax_tree_deleter>;

// A tree-sitter parser set to one grammar, reused for every text of that grammar.
class syntax_tree_parser {
  public:
    explicit syntax_tree_parser(const tree_grammar& grammar);
    // The tree of a text; none when the parse ran out of time.
    syntax_tree parse(std::string_view text);

  private:
    struct deleter {
        void operator()(TSParser* parser) const { ts_parser_delete(parser); }
    };
    std::unique_ptr<TSParser, deleter> parser_;
};

// The rule of each node type of a grammar, looked up by the node's symbol.
class tree_rule_index {
  public:
    explicit tree_rule_index(const tree_grammar& grammar);
    // The rule of a node; nullptr for a type the table does not list.
    const tree_rule* rule_of(TSNode node) const;
    tree_role role_of(TSNode node) const {
        const tree_rule* rule = rule_of(node);
        return rule != nullptr ? rule->role : tree_role::code;
    }

  private:
    std::vector<const tree_rule*> by_symbol_;
};

// A child of a node with the field it stands in (empty when none).
struct tree_child {
    TSNode node;
    std::string_view field;
};

// All children of a node, anonymous tokens included, in source order.
std::vector<tree_child> children_of(TSNode node);

// The first and the last token (leaf) of a node. Comments and the other tokens a grammar lets
// stand anywhere are passed over where a child of another kind is there to take.
TSNode first_leaf(TSNode node);
TSNode last_leaf(TSNode node);

// The first ERROR or MISSING node of a tree in source order; a null node when it has none.
TSNode first_error(TSNode root);

// The text of a node.
inline std::string_view node_text(TSNode node, std::string_view source) {
    const std::uint32_t start = ts_node_start_byte(node);
    const std::uint32_t end = ts_node_end_byte(node);
    if (start >= source.size() || end <= start) return {};
    return source.substr(start, std::min<std::size_t>(end, source.size()) - start);
}

}  // namespace tarnwell
