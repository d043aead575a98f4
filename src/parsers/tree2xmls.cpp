#include "parsers/tree2xmls.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tarnwell {

namespace {

// Code 32, "syntax error", for what the grammar could not read; the framework's own messages
// for a token the grammar expected and did not find.
std::uint8_t error_code_of(TSNode error) {
    if (!ts_node_is_missing(error)) return 32;
    const std::string_view type = ts_node_type(error);
    if (type == ")") return 19;
    if (type == "}") return 7;
    if (type == "]") return 18;
    if (type == ";") return 33;
    if (type == ":") return 3;
    if (type == "identifier") return 30;
    return 32;
}

// The item of a jump or a label; empty for the other roles.
std::string_view jump_tag(tree_role role) {
    switch (role) {
        case tree_role::label:
            return "<label/>";
        case tree_role::return_:
            return "<return/>";
        case tree_role::break_:
            return "<break/>";
        case tree_role::continue_:
            return "<continue/>";
        case tree_role::throw_:
            return "<exit/>";
        case tree_role::goto_:
            return "<goto/>";
        default:
            return {};
    }
}

bool is_construct(tree_role role) {
    return role != tree_role::code && role != tree_role::definition && role != tree_role::comment &&
           role != tree_role::decorator;
}

TSNode child_in_field(TSNode node, std::string_view field) {
    const std::string name(field);
    return ts_node_child_by_field_name(node, name.c_str(), static_cast<std::uint32_t>(name.size()));
}

// The body of a construct or a definition: its `body` field, followed through each child a
// path of fields names, else its last named child that is no comment.
TSNode body_of(TSNode node, const tree_rule& rule, const tree_rule_index& rules) {
    if (!rule.body.empty()) {
        TSNode found = node;
        for (std::string_view path = rule.body; !ts_node_is_null(found);) {
            const std::size_t dot = path.find('.');
            found = child_in_field(found, path.substr(0, dot));
            if (dot == std::string_view::npos) break;
            path.remove_prefix(dot + 1);
        }
        return found;
    }
    for (std::uint32_t i = ts_node_named_child_count(node); i > 0; --i) {
        const TSNode child = ts_node_named_child(node, i - 1);
        if (rules.role_of(child) != tree_role::comment) return child;
    }
    return TSNode{};
}

// The rule of each node of a tree: of the rules of its type, the first whose name, if
// it has one, is the node's.
class rule_book {
  public:
    // `text` is the text of the tree from `offset` on: the marked text, after a framing's
    // prefix.
    rule_book(const tree_grammar& grammar, const tree_rule_index& index, std::string_view text,
              std::uint32_t offset)
        : grammar_(grammar), index_(index), text_(text), offset_(offset) {}

    const tree_rule& rule_of(TSNode node) const {
        static constexpr tree_rule plain{"", tree_role::code};
        const tree_rule* rule = index_.rule_of(node);
        if (rule == nullptr) return plain;
        if (rule->name.empty()) return *rule;
        for (const tree_rule& other : grammar_.rules) {
            if (other.type == rule->type && (other.name.empty() || is_named(node, other))) {
                return other;
            }
        }
        return plain;
    }
    tree_role role_of(TSNode node) const { return rule_of(node).role; }
    const tree_rule_index& index() const { return index_; }

  private:
    bool is_named(TSNode node, const tree_rule& rule) const {
        if (rule.name_field != "*") return rule.name == name_of(node, rule);
        const std::uint32_t count = ts_node_child_count(node);
        for (std::uint32_t i = 0; i < count; ++i) {
            const TSNode child = ts_node_child(node, i);
            if (!ts_node_is_named(child) && text_of(child) == rule.name) return true;
        }
        return false;
    }
    std::string_view name_of(TSNode node, const tree_rule& rule) const {
        const TSNode name =
            rule.name_field.empty() ? first_leaf(node) : child_in_field(node, rule.name_field);
        return ts_node_is_null(name) ? std::string_view() : text_of(name);
    }
    // The text a node stands for; empty for one before `offset`.
    std::string_view text_of(TSNode node) const {
        const std::uint32_t start = ts_node_start_byte(node);
        const std::uint32_t end = ts_node_end_byte(node);
        if (start < offset_ || end < start || end - offset_ > text_.size()) return {};
        return text_.substr(start - offset_, end - start);
    }

    const tree_grammar& grammar_;
    const tree_rule_index& index_;
    std::string_view text_;
    std::uint32_t offset_;
};

// The first block that holds no character: a grammar that reads blocks by their indentation
// lets a header stand without its block, which the language does not. Or the first node the
// grammar misread. A null node when there is none; the root, an empty text, is no such block.
TSNode first_unread(TSNode root, const rule_book& rules) {
    TSTreeCursor cursor = ts_tree_cursor_new(root);
    TSNode found{};
    bool more = ts_tree_cursor_goto_first_child(&cursor);
    while (more) {
        const TSNode node = ts_tree_cursor_current_node(&cursor);
        const bool empty = ts_node_start_byte(node) == ts_node_end_byte(node);
        const tree_role role = ts_node_is_named(node) ? rules.role_of(node) : tree_role::code;
        if ((empty && role == tree_role::sequence) || role == tree_role::misread) {
            found = node;
            break;
        }
        if (!empty && ts_tree_cursor_goto_first_child(&cursor)) continue;
        while (!(more = ts_tree_cursor_goto_next_sibling(&cursor))) {
            if (!ts_tree_cursor_goto_parent(&cursor)) break;
        }
    }
    ts_tree_cursor_delete(&cursor);
    return found;
}

// The first error of a tree: an ERROR or MISSING node, an empty block or a misread node.
TSNode first_fault(TSNode root, const rule_book& rules) {
    const TSNode error = first_error(root);
    const TSNode empty = first_unread(root, rules);
    if (ts_node_is_null(empty)) return error;
    if (ts_node_is_null(error) || ts_node_start_byte(empty) < ts_node_start_byte(error)) {
        return empty;
    }
    return error;
}

// The tree of the marked text under the framing that reads it best.
struct framed_tree {
    syntax_tree tree;
    std::uint32_t offset = 0;   // the length of the framing's prefix
    TSNode error{};             // the first error node; null when the text parsed
    std::int64_t error_at = 0;  // where that error starts in the marked text
};

// The first framing under which the text parses without an error, else the one that read
// furthest into the text before its first error. An error in the blanks that end the text or
// in the framing's suffix is one at the end of the text, so a framing that only closes what
// the text left open does not win over reading the text as it stands.
framed_tree parse_framed(syntax_tree_parser& parser, const tree_grammar& grammar,
                         const tree_rule_index& rules, std::string_view source) {
    const std::size_t last = source.find_last_not_of(" \t\r\n");
    const auto text_end = static_cast<std::int64_t>(last == std::string_view::npos ? 0 : last + 1);
    framed_tree chosen;
    for (const tree_framing& framing : grammar.framings) {
        std::string framed;
        framed.reserve(framing.prefix.size() + source.size() + framing.suffix.size());
        framed.append(framing.prefix).append(source).append(framing.suffix);
        syntax_tree tree = parser.parse(framed);
        if (!tree) continue;
        const TSNode error =
            first_fault(ts_tree_root_node(tree.get()), rule_book(grammar, rules, framed, 0));
        const auto offset = static_cast<std::uint32_t>(framing.prefix.size());
        const std::int64_t error_at =
            ts_node_is_null(error)
                ? INT64_MAX
                : std::min<std::int64_t>(std::int64_t{ts_node_start_byte(error)} - offset,
                                         text_end);
        if (!chosen.tree || error_at > chosen.error_at) {
            chosen = {std::move(tree), offset, error, error_at};
        }
        if (ts_node_is_null(error)) break;
    }
    return chosen;
}

// Under a framing, the sequence that holds the marked text is the innermost block around all
// of its characters but the blanks at either end.
TSNode marked_sequence(TSNode root, std::uint32_t offset, std::string_view source,
                       const tree_rule_index& rules) {
    if (offset == 0) return root;
    const std::size_t first = source.find_first_not_of(" \t\r\n");
    const std::size_t last = source.find_last_not_of(" \t\r\n");
    const std::uint32_t text_start =
        offset + static_cast<std::uint32_t>(first == std::string_view::npos ? 0 : first);
    const std::uint32_t text_end =
        offset + static_cast<std::uint32_t>(last == std::string_view::npos ? 0 : last + 1);
    TSNode sequence = root;
    for (TSNode node = root;;) {
        TSNode inner{};
        for (const tree_child& child : children_of(node)) {
            if (ts_node_is_named(child.node) && ts_node_start_byte(child.node) <= text_start &&
                ts_node_end_byte(child.node) >= text_end) {
                inner = child.node;
                break;
            }
        }
        if (ts_node_is_null(inner)) return sequence;
        node = inner;
        if (rules.role_of(node) == tree_role::sequence) sequence = node;
    }
}

// A function followed only by what the framing added after the text (the command that
// completes a list the marked lines end with, as in `f() { ... } &&`) is that function alone.
TSNode function_before_framing(TSNode node, std::uint32_t text_end, const rule_book& rules) {
    const std::uint32_t count = ts_node_named_child_count(node);
    if (count < 2) return TSNode{};
    const TSNode first = ts_node_named_child(node, 0);
    if (!rules.rule_of(first).charts_body) return TSNode{};
    for (std::uint32_t i = 1; i < count; ++i) {
        if (ts_node_start_byte(ts_node_named_child(node, i)) < text_end) return TSNode{};
    }
    return first;
}

// A text that is one function alone charts that function's body; an export, the decorators
// or the declaration of a name bound to the function lead to it. A function whose header
// holds the error is charted as it stands, up to the error.
TSNode charted_body(TSNode sequence, std::uint32_t stop, std::uint32_t text_end,
                    const rule_book& rules) {
    const auto only_statement = [&](TSNode block) {
        TSNode single{};
        for (const tree_child& child : children_of(block)) {
            if (!ts_node_is_named(child.node)) continue;
            const tree_role role = rules.role_of(child.node);
            if (role == tree_role::comment || role == tree_role::decorator) continue;
            if (!ts_node_is_null(single)) return TSNode{};
            single = child.node;
        }
        return single;
    };
    for (TSNode single = only_statement(sequence); !ts_node_is_null(single);) {
        if (!rules.rule_of(single).charts_body) {
            single = function_before_framing(single, text_end, rules);
            if (ts_node_is_null(single)) break;
        }
        const TSNode body = body_of(single, rules.rule_of(single), rules.index());
        if (ts_node_is_null(body) || stop <= ts_node_start_byte(body)) break;
        if (rules.role_of(body) == tree_role::sequence) return body;
        // A body of one construct, a function of one `match` after its `=`, is charted as it.
        const tree_rule& body_rule = rules.rule_of(body);
        if (!body_rule.charts_body && is_construct(body_rule.role)) return body;
        single = body;
    }
    return sequence;
}

}  // namespace

// One walk over the tree of one marked text: it writes the markup into the parser's output and
// stops where the tree holds its first error.
class Ttreesparser::walk {
  public:
    // `stop` is where the walk stops: the start of the tree's first error, `error`, or the end of
    // the marked text when a framing's suffix holds the error.
    walk(Ttreesparser& parser, const rule_book& rules, std::uint32_t offset, TSNode error,
         std::uint32_t stop)
        : p_(parser), rules_(rules), offset_(offset), error_(error), stop_(stop) {}

    struct stopped {};

    // Closes the run of plain statements left open by a walk that was abandoned.
    void close_run() {
        if (open_run_ != nullptr) flush(*open_run_);
    }

    // The outermost sequence: the statements of `root`, closed by the end of the text.
    void chart(TSNode root) {
        // The root is a sequence, or the one construct a function's body is.
        const bool construct =
            !ts_node_is_null(ts_node_parent(root)) && role_of(root) != tree_role::sequence;
        const std::vector<TSNode> statements =
            construct ? std::vector<TSNode>{root} : statements_of(root);
        // The first token of the marked text, a comment too, opens it.
        TSNode first = construct ? first_leaf(root) : TSNode{};
        for (const tree_child& child : children_of(root)) {
            if (construct) break;
            // A function's body opens at the token after its brace.
            if (!ts_node_is_null(ts_node_parent(root)) && !ts_node_is_named(child.node) &&
                ts_node_start_byte(child.node) == ts_node_start_byte(root)) {
                continue;
            }
            if (ts_node_start_byte(child.node) >= offset_ &&
                ts_node_end_byte(child.node) > ts_node_start_byte(child.node) &&
                (ts_node_is_named(child.node) || !statements.empty())) {
                // A comment is one token, whatever parts its grammar sees in it.
                first =
                    role_of(child.node) == tree_role::comment ? child.node : first_leaf(child.node);
                break;
            }
        }
        if (!ts_node_is_null(first)) {
            item("<statement>", start_of(first), end_of(first));
        } else {
            item("<statement>", p_.text_size, p_.text_size);
        }
        run code;
        for (const TSNode& statement : statements) write_statement(statement, statement, code);
        flush(code);
        item("</statement>", p_.text_size, p_.text_size);
    }

  private:
    // The run of plain statements of one sequence whose end is not written yet.
    struct run {
        std::int32_t end = 0;
    };

    std::int32_t position(std::uint32_t byte) const {
        const std::int64_t pos = std::int64_t{byte} - offset_ + 1;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(pos, 1, p_.text_size));
    }
    std::int32_t start_of(TSNode node) const { return position(ts_node_start_byte(node)); }
    // The last character of a node; an empty node ends where it starts.
    std::int32_t end_of(TSNode node) const {
        const std::uint32_t end = ts_node_end_byte(node);
        return end > ts_node_start_byte(node) ? position(end - 1) : start_of(node);
    }

    void append(std::int32_t value) { p_.output += std::to_string(value); }
    void item(std::string_view tag, std::int32_t start, std::int32_t end) {
        p_.output += tag;
        append(start);
        p_.output += '-';
        append(end);
    }
    // An item over a token: none is written for the tree's first error or what follows it.
    void item(std::string_view tag, TSNode node) {
        if (ts_node_start_byte(node) >= stop_) stop();
        item(tag, start_of(node), end_of(node));
    }
    void item_over_last_token(std::string_view tag, TSNode node) { item(tag, last_token(node)); }
    // Moves the end of the item written last to `end` when it ends before it.
    void extend_last_item(std::int32_t end) {
        const std::size_t dash = p_.output.rfind('-');
        if (dash == std::string::npos || p_.output.back() == '-') return;
        if (std::stol(p_.output.substr(dash + 1)) >= end) return;
        p_.output.resize(dash + 1);
        append(end);
    }

    // The last token of a node. A chain of else-ifs nests as deep as it is long and all its
    // conditionals end on one token, which is looked for once.
    TSNode last_token(TSNode node) {
        TSNode& token = last_tokens_[ts_node_end_byte(node)];
        if (ts_node_is_null(token) || ts_node_start_byte(token) < ts_node_start_byte(node)) {
            token = last_leaf(node);
        }
        return token;
    }

    void add_code(std::int32_t start, std::int32_t end, run& code) {
        if (code.end == 0) {
            p_.output += "<code/>";
            append(start);
            p_.output += '-';
        }
        code.end = std::max(end, 1);
        open_run_ = &code;
    }
    void flush(run& code) {
        if (code.end > 0) append(code.end);
        code.end = 0;
        open_run_ = nullptr;
    }

    // Ends the walk at the tree's first error; the run of plain statements read before it is
    // closed, so that the chart of the code before the error is whole.
    [[noreturn]] void stop() {
        close_run();
        throw stopped{};
    }

    // Where the walk is, for a nesting too deep to follow: the framework reports that error at
    // `token_pos` + `token_len`, which is then the statement's 0-based start, as the reader's
    // other errors are.
    void reached(TSNode node) {
        p_.token_pos = start_of(node) - 1;
        p_.token_len = 0;
    }

    tree_role role_of(TSNode node) const { return rules_.role_of(node); }
    const tree_rule& rule_of(TSNode node) const { return rules_.rule_of(node); }

    // The statements of a block, nested blocks read as their statements, comments left out.
    std::vector<TSNode> statements_of(TSNode block) {
        std::vector<TSNode> statements;
        add_statements(block, 0, statements);
        return statements;
    }
    void add_statements(TSNode block, std::uint32_t from_child, std::vector<TSNode>& statements) {
        nesting_guard guard(p_);
        const std::vector<tree_child> children = children_of(block);
        std::vector<TSNode> decorators;
        for (std::size_t i = from_child; i < children.size(); ++i) {
            const TSNode child = children[i].node;
            if (!ts_node_is_named(child) && !ts_node_is_error(child)) continue;
            const tree_role role = role_of(child);
            if (role == tree_role::comment) continue;
            if (role == tree_role::decorator) {
                decorators.push_back(child);
                continue;
            }
            if (!decorators.empty()) {
                decorated_from_[ts_node_start_byte(child)] = ts_node_start_byte(decorators[0]);
                decorators.clear();
            }
            if (role == tree_role::sequence) {
                add_statements(child, 0, statements);
            } else {
                statements.push_back(child);
            }
        }
        // Decorators that decorate nothing, as the text broke off, are plain code.
        statements.insert(statements.end(), decorators.begin(), decorators.end());
    }
    // The first character of a statement, or of the decorators written before it.
    std::int32_t start_with_decorators(TSNode node) const {
        const auto found = decorated_from_.find(ts_node_start_byte(node));
        return found != decorated_from_.end() ? position(found->second) : start_of(node);
    }
    // The statements after the child that ends a header or a label.
    std::vector<TSNode> statements_after(TSNode node, std::size_t header_end) {
        std::vector<TSNode> statements;
        add_statements(node, static_cast<std::uint32_t>(header_end + 1), statements);
        return statements;
    }

    TSNode body_of(TSNode node, const tree_rule& rule) const {
        return tarnwell::body_of(node, rule, p_.rules_);
    }

    // The body of a construct: a node of its own (a block, or one statement standing for it),
    // or the statements that stand in the construct itself after its header.
    struct body_part {
        TSNode node{};
        bool in_place = false;
        std::vector<TSNode> statements;  // in place: the statements
        TSNode closing{};                // in place: the token that ends them
        TSNode opening{};                // in place: a keyword that opens them, else none
        std::uint32_t from = 0;          // where the body begins; the header ends before it
        bool first = false;              // the body stands before the header in the text
        bool found() const { return in_place || !ts_node_is_null(node); }
    };

    body_part body_part_of(TSNode node, const tree_rule& rule) {
        body_part body;
        body.from = ts_node_end_byte(node);
        if (rule.label_end.empty()) {
            body.node = body_of(node, rule);
            if (ts_node_is_null(body.node)) return body;
            body.from = ts_node_start_byte(body.node);
            body.first = body.from == ts_node_start_byte(node) &&
                         ts_node_end_byte(body.node) < ts_node_end_byte(node);
            return body;
        }
        const std::vector<tree_child> children = children_of(node);
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (!ts_node_is_named(children[i].node) &&
                ts_node_type(children[i].node) == rule.label_end) {
                return body_in_place(children, i);
            }
        }
        return body;
    }

    // The statements after the child `header`, up to the next branch or the token that closes
    // them; the separators between them are passed over.
    body_part body_in_place(const std::vector<tree_child>& children, std::size_t header) {
        body_part body;
        body.in_place = true;
        body.from = ts_node_end_byte(children[header].node);
        std::size_t next = header + 1;
        for (; next < children.size(); ++next) {
            const TSNode child = children[next].node;
            if (ts_node_is_extra(child)) continue;
            if (!ts_node_is_named(child) && !ts_node_is_error(child)) {
                const std::string_view type = ts_node_type(child);
                if (type == ";" || type == "&") continue;
                break;
            }
            const tree_role role = role_of(child);
            if (role == tree_role::else_if || role == tree_role::else_ ||
                role == tree_role::else_list) {
                break;
            }
            if (role == tree_role::sequence) {
                add_statements(child, 0, body.statements);
            } else if (role != tree_role::comment) {
                body.statements.push_back(child);
            }
        }
        if (next < children.size()) {
            body.closing = first_leaf(children[next].node);
        } else {
            body.closing = body.statements.empty() ? children[header].node
                                                   : last_token(body.statements.back());
        }
        return body;
    }
    // The statements that follow a token in its parent: a block whose braces are children of
    // the construct around it.
    body_part body_in_place_after(TSNode token) {
        const std::vector<tree_child> children = children_of(ts_node_parent(token));
        std::size_t at = 0;
        while (at + 1 < children.size() && !ts_node_eq(children[at].node, token)) ++at;
        return body_in_place(children, at);
    }

    // The last character of a construct's header: the end of the child before its body.
    std::int32_t header_end(TSNode node, TSNode body) const {
        return ts_node_is_null(body) ? end_of(node) : header_end(node, ts_node_start_byte(body));
    }
    std::int32_t header_end(TSNode node, std::uint32_t body_from, bool inside = false) const {
        std::int32_t end = start_of(node);
        for (const tree_child& child : children_of(node)) {
            if (ts_node_start_byte(child.node) >= body_from) break;
            // The brace that opens a selection's cases is no part of its header.
            if (!inside && ts_node_type(child.node) == std::string_view("{")) break;
            // A comment after the condition is no part of it.
            if (ts_node_is_extra(child.node)) continue;
            // A child that holds the body, a call's block, adds its tokens before the body.
            if (ts_node_end_byte(child.node) > body_from) {
                return std::max(end, header_end(child.node, body_from, true));
            }
            end = end_of(child.node);
        }
        return end;
    }
    // The first and the last character of a construct's header; after a body that stands
    // first, the header is what follows it.
    std::pair<std::int32_t, std::int32_t> header_of(TSNode node, const body_part& body) const {
        if (body.first) {
            for (const tree_child& child : children_of(node)) {
                if (ts_node_start_byte(child.node) >= ts_node_end_byte(body.node) &&
                    !ts_node_is_extra(child.node)) {
                    return {start_of(child.node), end_of(node)};
                }
            }
        }
        return {start_of(node), body.found() ? header_end(node, body.from) : end_of(node)};
    }

    // Stops the walk before a statement that holds the tree's first error, or whose header
    // does; a construct whose body holds it is opened and the walk stops inside.
    void stop_before(TSNode statement, TSNode body) {
        if (!reaches_error(statement)) return;
        if (ts_node_is_null(body) || stop_ < ts_node_start_byte(body)) stop();
    }
    // A body that stands before its header is not opened: the header is read after it.
    void stop_before(TSNode statement, const body_part& body) {
        if (!reaches_error(statement)) return;
        if (!body.found() || body.first || stop_ < body.from) stop();
    }
    // Whether a statement holds the tree's first error or lies past it. An empty error where a
    // statement ends, a token the grammar found missing or a block left out, may be the
    // statement's own or that of the block around it.
    bool reaches_error(TSNode node) const {
        const std::uint32_t end = ts_node_end_byte(node);
        if (ts_node_start_byte(node) >= stop_ || stop_ < end) return true;
        return stop_ == end && (ts_node_eq(node, error_) ||
                                !ts_node_is_null(ts_node_child_with_descendant(node, error_)));
    }

    // `range` is the node whose characters a jump or a code box stands for: the statement
    // around an expression that is charted for it.
    void write_statement(TSNode node, TSNode range, run& code) {
        reached(node);
        nesting_guard guard(p_);
        const tree_rule& rule = rule_of(node);
        if (const std::string_view tag = jump_tag(rule.role); !tag.empty()) {
            write_jump(tag, node, range, code);
            return;
        }
        switch (rule.role) {
            case tree_role::comment:
                return;
            case tree_role::sequence:
                for (const TSNode& statement : statements_of(node)) {
                    write_statement(statement, statement, code);
                }
                return;
            case tree_role::wrapper: {
                const TSNode body = body_of(node, rule);
                const std::vector<TSNode> inner = rule.body.empty() ? statements_of(node)
                                                  : ts_node_is_null(body)
                                                      ? std::vector<TSNode>{}
                                                      : std::vector<TSNode>{body};
                if (inner.size() == 1 && is_construct(role_of(inner[0]))) {
                    write_statement(inner[0], node, code);
                    // What the wrapper adds after its construct (a redirect after `done`) is
                    // in the item that closes it, or in the run its statements end.
                    if (rule.body.empty()) return;
                    if (code.end > 0) {
                        code.end = std::max(code.end, end_of(node));
                    } else {
                        extend_last_item(end_of(node));
                    }
                    return;
                }
                stop_before(node, TSNode{});
                add_code(start_of(node), end_of(node), code);
                return;
            }
            case tree_role::inline_body: {
                const TSNode body = body_of(node, rule);
                stop_before(node, body);
                add_code(start_of(node), header_end(node, body), code);
                if (!ts_node_is_null(body)) write_statement(body, body, code);
                // The brace that closes the block ends the run its last statements are in.
                const TSNode closing = last_token(node);
                if (ts_node_start_byte(closing) >= stop_) stop();
                if (code.end > 0) add_code(start_of(closing), end_of(closing), code);
                return;
            }
            case tree_role::definition:
                stop_before(node, TSNode{});
                flush(code);
                item("<code/>", start_with_decorators(range), end_of(range));
                return;
            case tree_role::labeled:
                write_labeled(node, code);
                return;
            case tree_role::if_:
            case tree_role::guard: {
                body_part body = body_part_of(node, rule);
                stop_before(node, body);
                if (!body.found()) {
                    // A grammar that leaves an empty block out (Lua's `if c then else ... end`)
                    // gives the branch taken no node: it is empty, standing where the other
                    // branches start.
                    const std::vector<TSNode> others = rule.role == tree_role::if_
                                                           ? alternatives_of(node, rule, body)
                                                           : std::vector<TSNode>{};
                    if (others.empty()) {
                        add_code(start_of(range), end_of(range), code);
                        return;
                    }
                    body.in_place = true;
                    body.from = ts_node_start_byte(others.front());
                    body.closing = first_leaf(others.front());
                }
                flush(code);
                if (rule.role == tree_role::guard) {
                    write_guard(node, rule, body);
                } else {
                    write_if(node, rule, body);
                }
                return;
            }
            case tree_role::while_:
                write_loop(node, rule, "<whiledo>", "</whiledo>", code);
                return;
            case tree_role::until_:
                write_loop(node, rule, "<untildo>", "</untildo>", code);
                return;
            case tree_role::for_:
                write_loop(node, rule, "<for>", "</for>", code);
                return;
            case tree_role::do_while:
                write_loop_tested_after(node, rule, "<dowhile>", "</dowhile>", code);
                return;
            case tree_role::do_until:
                write_loop_tested_after(node, rule, "<dountil>", "</dountil>", code);
                return;
            case tree_role::switch_:
                write_switch(node, rule, code);
                return;
            case tree_role::try_:
                write_try(node, code);
                return;
            case tree_role::handler:
                write_handler(node, rule, code);
                return;
            // A final block, or a try's block run when nothing was raised, stands in the
            // sequence.
            case tree_role::finally_:
            case tree_role::else_: {
                const body_part body = body_part_of(node, rule);
                stop_before(node, body);
                if (body.in_place) {
                    for (const TSNode& statement : body.statements) {
                        write_statement(statement, statement, code);
                    }
                } else if (!ts_node_is_null(body.node)) {
                    write_statement(body.node, body.node, code);
                }
                return;
            }
            default:
                stop_before(node, TSNode{});
                add_code(start_with_decorators(range), end_of(range), code);
                return;
        }
    }

    void write_jump(std::string_view tag, TSNode node, TSNode range, run& code) {
        stop_before(node, TSNode{});
        flush(code);
        item(tag, range);
    }

    void write_labeled(TSNode node, run& code) {
        const std::vector<tree_child> children = children_of(node);
        std::size_t colon = 0;
        while (colon < children.size() &&
               ts_node_type(children[colon].node) != std::string_view(":")) {
            ++colon;
        }
        if (colon == children.size()) colon = 0;
        const TSNode label_end = children.empty() ? node : children[colon].node;
        if (ts_node_start_byte(label_end) >= stop_) stop();
        flush(code);
        item("<label/>", start_of(node), end_of(label_end));
        for (const TSNode& statement : statements_after(node, colon)) {
            write_statement(statement, statement, code);
        }
    }

    // A sequence: a block with its opening and closing tokens, or one statement standing for it.
    void write_sequence(TSNode body, std::int32_t close_start, std::int32_t close_end) {
        if (ts_node_is_null(body)) {
            item("<statement>", close_start, close_end);
            item("</statement>", close_start, close_end);
            return;
        }
        nesting_guard guard(p_);
        std::vector<TSNode> statements;
        TSNode opening{};
        TSNode closing{};
        if (role_of(body) == tree_role::sequence) {
            statements = statements_of(body);
            // The first token inside the braces opens the sequence, the closing brace ends it;
            // comments are passed over as the other readers pass them.
            const std::vector<tree_child> children = children_of(body);
            for (const tree_child& child : children) {
                if ((!ts_node_is_named(child.node) &&
                     ts_node_start_byte(child.node) == ts_node_start_byte(body)) ||
                    ts_node_is_extra(child.node)) {
                    continue;
                }
                opening = first_leaf(child.node);
                break;
            }
            if (!children.empty() && !ts_node_is_named(children.back().node)) {
                closing = children.back().node;
            }
        } else {
            statements.push_back(body);
        }
        if (ts_node_is_null(opening))
            opening = first_leaf(statements.empty() ? body : statements[0]);
        if (ts_node_is_null(closing)) closing = last_token(body);
        item("<statement>", opening);
        write_run(statements);
        if (close_start > 0) {
            item("</statement>", close_start, close_end);
        } else {
            item("</statement>", closing);
        }
    }
    void write_sequence(TSNode body) { write_sequence(body, 0, 0); }

    // The body of a construct as its sequence; one that is missing is an empty sequence at the
    // construct's end.
    void write_body(const body_part& body, TSNode construct) {
        if (ts_node_is_null(body.node) && !body.in_place) {
            write_sequence(body.node, end_of(construct), end_of(construct));
            return;
        }
        if (!body.in_place) {
            write_sequence(body.node);
            return;
        }
        nesting_guard guard(p_);
        item("<statement>", !ts_node_is_null(body.opening) ? body.opening
                            : body.statements.empty()      ? body.closing
                                                           : first_leaf(body.statements[0]));
        write_run(body.statements);
        item("</statement>", body.closing);
    }

    // The statements of one sequence, the plain ones among them in runs.
    void write_run(const std::vector<TSNode>& statements) {
        run code;
        for (const TSNode& statement : statements) write_statement(statement, statement, code);
        flush(code);
    }

    std::vector<TSNode> children_in_field(TSNode node, std::string_view field) {
        std::vector<TSNode> found;
        if (field.empty()) return found;
        for (const tree_child& child : children_of(node)) {
            if (child.field == field) found.push_back(child.node);
        }
        return found;
    }

    // The other branches of a conditional: the children in its `alternative` field, else the
    // else-ifs and elses among its children after its body.
    std::vector<TSNode> alternatives_of(TSNode node, const tree_rule& rule, const body_part& body) {
        if (!rule.alternative.empty()) return children_in_field(node, rule.alternative);
        std::vector<TSNode> found;
        for (const tree_child& child : children_of(node)) {
            const tree_role role = role_of(child.node);
            if (ts_node_start_byte(child.node) < body.from) continue;
            // A grammar may keep its `else` a keyword among the children (Kotlin's).
            if (role == tree_role::else_if || role == tree_role::else_) {
                found.push_back(child.node);
            } else if (role == tree_role::else_list) {
                for (const tree_child& branch : children_of(child.node)) {
                    if (role_of(branch.node) == tree_role::else_if) found.push_back(branch.node);
                }
            }
        }
        return found;
    }

    void write_if(TSNode node, const tree_rule& rule, const body_part& body) {
        const auto [start, end] = header_of(node, body);
        item("<if>", start, end);
        write_body(body, node);
        const std::vector<TSNode> alternatives = alternatives_of(node, rule, body);
        if (!alternatives.empty()) write_alternatives(alternatives, 0);
        item_over_last_token("</if>", node);
    }

    // A guard's body is the branch taken when the condition fails; the branch taken when it
    // holds is its else, or empty.
    void write_guard(TSNode node, const tree_rule& rule, const body_part& body) {
        const auto [start, end] = header_of(node, body);
        item("<if>", start, end);
        const std::vector<TSNode> alternatives = alternatives_of(node, rule, body);
        if (alternatives.empty()) {
            item("<statement>", end, end);
            item("</statement>", end, end);
        } else {
            write_alternatives(alternatives, 0);
        }
        write_body(body, node);
        item_over_last_token("</if>", node);
    }

    // The other branch of a conditional from its `index`-th alternative on: an else-if that
    // carries its own condition, an else clause, or a conditional or block standing alone.
    void write_alternatives(const std::vector<TSNode>& alternatives, std::size_t index) {
        nesting_guard guard(p_);
        const TSNode alternative = alternatives[index];
        const tree_rule& rule = rule_of(alternative);
        if (ts_node_start_byte(alternative) >= stop_) stop();
        if (rule.role == tree_role::else_if) {
            const TSNode chain_end = last_token(alternatives.back());
            item("<statement>", first_leaf(alternative));
            const body_part body = body_part_of(alternative, rule);
            stop_before(alternative, body);
            const auto [start, end] = header_of(alternative, body);
            item("<if>", start, end);
            write_body(body, alternative);
            if (index + 1 < alternatives.size()) {
                write_alternatives(alternatives, index + 1);
            } else if (const std::vector<TSNode> further = alternatives_of(alternative, rule, body);
                       !further.empty()) {
                // A chain whose else-ifs each hold the branches after them.
                write_alternatives(further, 0);
            }
            item("</if>", chain_end);
            item("</statement>", chain_end);
            return;
        }
        TSNode branch = alternative;
        TSNode opening{};
        if (rule.role == tree_role::else_ && ts_node_child_count(alternative) == 0) {
            // An else keyword alone: its branch follows it, a conditional or a block whose
            // braces stand beside it, and opens at it.
            opening = alternative;
            branch = ts_node_next_sibling(alternative);
            while (!ts_node_is_null(branch) && ts_node_is_extra(branch)) {
                branch = ts_node_next_sibling(branch);
            }
            if (ts_node_is_null(branch)) {
                write_sequence(branch, end_of(alternative), end_of(alternative));
                return;
            }
            if (!ts_node_is_named(branch)) {
                body_part body = body_in_place_after(branch);
                body.opening = opening;
                write_body(body, alternative);
                return;
            }
        } else if (rule.role == tree_role::else_) {
            const body_part body = body_part_of(alternative, rule);
            if (body.in_place) {
                write_body(body, alternative);
                return;
            }
            branch = body.node;
            if (ts_node_is_null(branch)) {
                write_sequence(branch, end_of(alternative), end_of(alternative));
                return;
            }
        }
        if (role_of(branch) == tree_role::if_ ||
            (role_of(branch) == tree_role::wrapper && statements_of(branch).size() == 1 &&
             role_of(statements_of(branch)[0]) == tree_role::if_)) {
            const TSNode last = last_token(branch);
            item("<statement>", ts_node_is_null(opening) ? first_leaf(branch) : opening);
            run code;
            write_statement(branch, branch, code);
            flush(code);
            item("</statement>", last);
            return;
        }
        write_sequence(branch);
    }

    // A loop's `else:` block, run when the loop ends without break: a conditional after the
    // loop, so that the chart shows the block is not always run.
    void write_loop_else(const std::vector<TSNode>& elses) {
        for (const TSNode& otherwise : elses) {
            const tree_rule& else_rule = rule_of(otherwise);
            const TSNode body = body_of(otherwise, else_rule);
            stop_before(otherwise, body);
            item("<if>", start_of(otherwise), header_end(otherwise, body));
            write_sequence(body);
            item_over_last_token("</if>", otherwise);
        }
    }

    // A loop without a body is a call or a name that only looks like one, charted as code.
    void write_loop(TSNode node, const tree_rule& rule, std::string_view open,
                    std::string_view close, run& code) {
        const body_part body = body_part_of(node, rule);
        stop_before(node, body);
        if (!body.found()) {
            add_code(start_of(node), end_of(node), code);
            return;
        }
        flush(code);
        const auto [start, end] = header_of(node, body);
        item(open, start, end);
        write_body(body, node);
        // The loop ends where its last token stands, before an `else:` block when it has one.
        const std::vector<TSNode> elses = children_in_field(node, rule.alternative);
        item_over_last_token(close, elses.empty() || body.in_place ? node : body.node);
        write_loop_else(elses);
    }

    void write_loop_tested_after(TSNode node, const tree_rule& rule, std::string_view open,
                                 std::string_view close, run& code) {
        const body_part body = body_part_of(node, rule);
        stop_before(node, body);
        flush(code);
        item(open, first_leaf(node));
        write_body(body, node);
        const std::uint32_t test_from = !body.found()   ? ts_node_start_byte(node)
                                        : body.in_place ? ts_node_end_byte(body.closing)
                                                        : ts_node_end_byte(body.node);
        const std::vector<tree_child> children = children_of(node);
        const auto test = std::find_if(children.begin(), children.end(), [&](const tree_child& c) {
            return ts_node_start_byte(c.node) >= test_from;
        });
        // A test that holds the error, or one left out, ends the walk before it.
        if (reaches_error(node) && stop_ >= test_from) stop();
        item(close, test != children.end() ? start_of(test->node) : end_of(node), end_of(node));
    }

    // The index of the child that ends a case label, the label's first child when there is
    // none.
    std::size_t label_end_of(const std::vector<tree_child>& children, const tree_rule& rule) {
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (!ts_node_is_named(children[i].node) &&
                ts_node_type(children[i].node) == rule.label_end) {
                return i;
            }
        }
        return 0;
    }

    // A case whose whole label is a wildcard pattern, `_` or `*`, is the default branch.
    bool is_wildcard(TSNode label, std::int32_t label_last) const {
        std::string_view text(p_.text);
        const auto from = static_cast<std::size_t>(start_of(label) - 1);
        const auto to = static_cast<std::size_t>(label_last);
        if (from >= to || to > text.size()) return false;
        std::string_view label_text = text.substr(from, to - from);
        if (label_text.starts_with("case")) label_text.remove_prefix(4);
        const auto blank_or = [](char c, std::string_view marks) {
            return c == ' ' || c == '\t' || marks.find(c) != std::string_view::npos;
        };
        while (!label_text.empty() && blank_or(label_text.back(), ":>=)")) {
            label_text.remove_suffix(1);
        }
        while (!label_text.empty() && blank_or(label_text.front(), "(")) {
            label_text.remove_prefix(1);
        }
        return label_text == "_" || label_text == "*";
    }

    // A branch of a selection: the last token of its label and the statements after it. A
    // branch with a body field has the label before that body; else its label runs to the
    // token that ends it.
    struct selection_branch {
        TSNode label_last{};
        std::vector<TSNode> statements;
    };
    selection_branch branch_of(TSNode branch, const tree_rule& rule) {
        const std::vector<tree_child> children = children_of(branch);
        selection_branch found;
        if (rule.body.empty()) {
            const std::size_t label_end = label_end_of(children, rule);
            found.label_last = children.empty() ? branch : children[label_end].node;
            found.statements = statements_after(branch, label_end);
            return found;
        }
        const TSNode body = body_of(branch, rule);
        found.label_last = branch;
        for (const tree_child& child : children) {
            if (!ts_node_is_null(body) &&
                ts_node_start_byte(child.node) >= ts_node_start_byte(body)) {
                break;
            }
            if (!ts_node_is_extra(child.node)) found.label_last = last_token(child.node);
        }
        if (ts_node_is_null(body)) return found;
        if (role_of(body) == tree_role::sequence) {
            found.statements = statements_of(body);
        } else {
            found.statements.push_back(body);
        }
        return found;
    }

    // The cases among a node's children, also in the blocks that hold them (PowerShell's
    // switch body and its list of clauses).
    void add_cases(TSNode container, std::vector<TSNode>& cases) {
        nesting_guard guard(p_);
        for (const tree_child& child : children_of(container)) {
            const tree_role role = role_of(child.node);
            if (role == tree_role::case_ || role == tree_role::default_ ||
                (role == tree_role::else_ && ts_node_is_named(child.node))) {
                cases.push_back(child.node);
            } else if (role == tree_role::sequence) {
                add_cases(child.node, cases);
            }
        }
    }

    void write_switch(TSNode node, const tree_rule& rule, run& code) {
        const TSNode container = rule.body.empty() ? node : body_of(node, rule);
        std::vector<TSNode> cases;
        if (!ts_node_is_null(container)) add_cases(container, cases);
        const TSNode head_end = !rule.body.empty() ? container
                                : cases.empty()    ? TSNode{}
                                                   : cases[0];
        stop_before(node, head_end);
        flush(code);
        item("<switch>", start_of(node), header_end(node, head_end));
        const TSNode closing = last_token(node);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            nesting_guard guard(p_);
            const TSNode branch = cases[i];
            const tree_rule& case_rule = rule_of(branch);
            const selection_branch parts = branch_of(branch, case_rule);
            if (ts_node_start_byte(branch) >= stop_ || ts_node_end_byte(parts.label_last) > stop_) {
                stop();
            }
            const bool otherwise =
                case_rule.role != tree_role::case_ || is_wildcard(branch, end_of(parts.label_last));
            item(otherwise ? "<else/>" : "<case/>", start_of(branch), end_of(parts.label_last));
            const TSNode next = i + 1 < cases.size() ? first_leaf(cases[i + 1]) : closing;
            item("<statement>", parts.statements.empty() ? next : first_leaf(parts.statements[0]));
            write_run(parts.statements);
            item("</statement>", next);
        }
        item("</switch>", closing);
    }

    // The protected block and the final one stand in the sequence; each handler is charted.
    void write_try(TSNode node, run& code) {
        if (ts_node_start_byte(node) >= stop_) stop();
        for (const tree_child& child : children_of(node)) {
            if (ts_node_is_named(child.node)) write_statement(child.node, child.node, code);
        }
        // An error in none of its parts is in the tokens around them: an end left out.
        if (reaches_error(node)) stop();
    }

    void write_handler(TSNode node, const tree_rule& rule, run& code) {
        const body_part body = body_part_of(node, rule);
        stop_before(node, body);
        flush(code);
        const auto [start, end] = header_of(node, body);
        item("<except>", start, end);
        write_body(body, node);
        item_over_last_token("</except>", node);
    }

    Ttreesparser& p_;
    const rule_book& rules_;
    std::uint32_t offset_;
    TSNode error_;
    std::uint32_t stop_;
    // The run whose end is still to be written; at most one is open at a time, as every
    // construct flushes the run before it.
    run* open_run_ = nullptr;
    // By the end of a node, its last token.
    std::unordered_map<std::uint32_t, TSNode> last_tokens_;
    // By the start of a statement, the start of the decorators written before it that its
    // grammar sets beside it rather than in it (TypeScript's methods).
    std::unordered_map<std::uint32_t, std::uint32_t> decorated_from_;
};

Ttreesparser::Ttreesparser(const tree_grammar& grammar)
    : tsparser({}), grammar_(grammar), rules_(grammar), parser_(grammar) {}

Ttreesparser::~Ttreesparser() = default;

void Ttreesparser::scan() {
    tsparser::scan();
    if (kind == tk_eof) return;
    token_len = 1;
    kind = at(token_pos) == '\001' ? tk_eof : tk_other;
}

bool Ttreesparser::parse_statements(bool) {
    const std::string_view source(text.data(), static_cast<std::size_t>(text_size - 1));
    const framed_tree chosen = parse_framed(parser_, grammar_, rules_, source);
    // A parse the grammar gave up is an error at the text's start, in a sequence as every
    // chart is, so that the layout still reads it.
    if (!chosen.tree) {
        output += "<statement>1-1";
        token_pos = 1;
        token_len = 1;
        set_error(32);
        return false;
    }
    const std::uint32_t stop = ts_node_is_null(chosen.error)
                                   ? UINT32_MAX
                                   : static_cast<std::uint32_t>(std::max<std::int64_t>(
                                         chosen.offset + chosen.error_at, 0));
    TSNode root =
        marked_sequence(ts_tree_root_node(chosen.tree.get()), chosen.offset, source, rules_);
    const std::size_t last = source.find_last_not_of(" \t\r\n");
    const auto text_end =
        chosen.offset + static_cast<std::uint32_t>(last == std::string_view::npos ? 0 : last + 1);
    const rule_book rules(grammar_, rules_, source, chosen.offset);
    root = charted_body(root, stop, text_end, rules);

    walk writer(*this, rules, chosen.offset, chosen.error, stop);
    try {
        writer.chart(root);
    } catch (const walk::stopped&) {
    } catch (...) {
        // Nesting too deep to follow: the chart before it is kept whole.
        writer.close_run();
        throw;
    }
    const TSNode error = chosen.error;
    if (ts_node_is_null(error)) {
        token_pos = text_size;
        token_len = 1;
        kind = tk_eof;
        return true;
    }
    // The error's own characters are what the editor highlights.
    const std::int64_t start = std::clamp<std::int64_t>(chosen.error_at, 0, text_size - 1);
    const std::int64_t length = std::int64_t{ts_node_end_byte(error)} - ts_node_start_byte(error);
    token_pos = static_cast<std::int32_t>(start + 1);
    token_len = static_cast<std::int32_t>(std::clamp<std::int64_t>(length, 1, text_size - start));
    set_error(error_code_of(error));
    error_pos = static_cast<std::int32_t>(start);
    return false;
}

}  // namespace tarnwell
