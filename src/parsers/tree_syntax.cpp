#include "parsers/tree_syntax.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace tarnwell {

syntax_tree_parser::syntax_tree_parser(const tree_grammar& grammar) : parser_(ts_parser_new()) {
    ts_parser_set_language(parser_.get(), grammar.language());
}

namespace {

using parse_clock = std::chrono::steady_clock;

// A grammar's error recovery can go on without end on a few broken texts (one Kotlin grammar
// does on a stray `#` in a class body): the parse gives up after far longer than any text
// that reads takes, one second and ten microseconds a byte.
parse_clock::time_point parse_deadline(std::size_t length) {
    return parse_clock::now() + std::chrono::seconds(1) +
           std::chrono::microseconds(10) * static_cast<std::int64_t>(length);
}

struct text_input {
    std::string_view text;
};

const char* read_text(void* payload, std::uint32_t byte, TSPoint, std::uint32_t* bytes_read) {
    const std::string_view text = static_cast<text_input*>(payload)->text;
    if (byte >= text.size()) {
        *bytes_read = 0;
        return "";
    }
    *bytes_read = static_cast<std::uint32_t>(text.size() - byte);
    return text.data() + byte;
}

bool past_deadline(TSParseState* state) {
    return parse_clock::now() > *static_cast<parse_clock::time_point*>(state->payload);
}

}  // namespace

syntax_tree syntax_tree_parser::parse(std::string_view text) {
    // tree-sitter counts in 32 bits; longer texts are cut, and the cut shows as an error.
    text_input input{text.substr(0, std::min<std::size_t>(text.size(), UINT32_MAX))};
    parse_clock::time_point deadline = parse_deadline(input.text.size());
    TSTree* tree = ts_parser_parse_with_options(
        parser_.get(), nullptr, TSInput{&input, read_text, TSInputEncodingUTF8, nullptr},
        TSParseOptions{&deadline, past_deadline});
    // A parse given up would otherwise be resumed by the next one.
    if (tree == nullptr) ts_parser_reset(parser_.get());
    return syntax_tree(tree);
}

tree_rule_index::tree_rule_index(const tree_grammar& grammar) {
    const TSLanguage* language = grammar.language();
    by_symbol_.assign(ts_language_symbol_count(language), nullptr);
    for (const tree_rule& rule : grammar.rules) {
        const std::string type(rule.type);
        // A type can be named and anonymous at once; both symbols get the rule.
        for (const bool named : {true, false}) {
            const TSSymbol symbol = ts_language_symbol_for_name(
                language, type.c_str(), static_cast<std::uint32_t>(type.size()), named);
            if (symbol != 0 && symbol < by_symbol_.size() && by_symbol_[symbol] == nullptr) {
                by_symbol_[symbol] = &rule;
            }
        }
    }
}

const tree_rule* tree_rule_index::rule_of(TSNode node) const {
    const TSSymbol symbol = ts_node_symbol(node);
    return symbol < by_symbol_.size() ? by_symbol_[symbol] : nullptr;
}

std::vector<tree_child> children_of(TSNode node) {
    std::vector<tree_child> children;
    children.reserve(ts_node_child_count(node));
    TSTreeCursor cursor = ts_tree_cursor_new(node);
    if (ts_tree_cursor_goto_first_child(&cursor)) {
        do {
            const char* field = ts_tree_cursor_current_field_name(&cursor);
            children.push_back({ts_tree_cursor_current_node(&cursor),
                                field != nullptr ? std::string_view(field) : std::string_view()});
        } while (ts_tree_cursor_goto_next_sibling(&cursor));
    }
    ts_tree_cursor_delete(&cursor);
    return children;
}

namespace {

// The first or the last child of a node that is no extra token, else the child at that end.
TSNode end_child(TSNode node, bool last) {
    const std::uint32_t count = ts_node_child_count(node);
    const TSNode child = ts_node_child(node, last ? count - 1 : 0);
    for (TSNode other = child; !ts_node_is_null(other);
         other = last ? ts_node_prev_sibling(other) : ts_node_next_sibling(other)) {
        if (!ts_node_is_extra(other)) return other;
    }
    return child;
}

}  // namespace

TSNode first_leaf(TSNode node) {
    while (ts_node_child_count(node) > 0) node = end_child(node, false);
    return node;
}

TSNode last_leaf(TSNode node) {
    while (ts_node_child_count(node) > 0) node = end_child(node, true);
    return node;
}

TSNode first_error(TSNode root) {
    if (!ts_node_has_error(root)) return TSNode{};
    TSTreeCursor cursor = ts_tree_cursor_new(root);
    TSNode found{};
    for (;;) {
        const TSNode node = ts_tree_cursor_current_node(&cursor);
        if (ts_node_is_error(node) || ts_node_is_missing(node)) {
            found = node;
            break;
        }
        // Only the children of a node that holds an error are looked into.
        bool moved = false;
        if (ts_tree_cursor_goto_first_child(&cursor)) {
            do {
                if (ts_node_has_error(ts_tree_cursor_current_node(&cursor))) {
                    moved = true;
                    break;
                }
            } while (ts_tree_cursor_goto_next_sibling(&cursor));
        }
        if (!moved) break;
    }
    ts_tree_cursor_delete(&cursor);
    return found;
}

}  // namespace tarnwell
