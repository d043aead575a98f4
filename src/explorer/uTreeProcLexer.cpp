#include "explorer/uTreeProcLexer.h"

#include <string>
#include <vector>

#include "parsers/tree_syntax.h"

namespace tarnwell {

namespace {

enum class found_as {
    function,   // a function or method
    bound,      // a name bound to a function value: listed when its value is one
    container,  // a class, impl, trait, module or namespace: its name qualifies what it holds
};

struct function_node {
    std::string_view grammar;
    std::string_view type;
    found_as as;
    std::string_view name_field;
};

// The node types that name functions and their containers, per grammar.
constexpr function_node function_nodes[] = {
    {"python", "function_definition", found_as::function, "name"},
    {"python", "class_definition", found_as::container, "name"},
    {"ts", "function_declaration", found_as::function, "name"},
    {"ts", "generator_function_declaration", found_as::function, "name"},
    {"ts", "method_definition", found_as::function, "name"},
    {"ts", "variable_declarator", found_as::bound, "name"},
    {"ts", "public_field_definition", found_as::bound, "name"},
    {"ts", "class_declaration", found_as::container, "name"},
    {"ts", "abstract_class_declaration", found_as::container, "name"},
    {"ts", "internal_module", found_as::container, "name"},
    {"go", "function_declaration", found_as::function, "name"},
    {"go", "method_declaration", found_as::function, "name"},
    {"rust", "function_item", found_as::function, "name"},
    {"rust", "impl_item", found_as::container, "type"},
    {"rust", "trait_item", found_as::container, "name"},
    {"rust", "mod_item", found_as::container, "name"},
};

// TSX shares TypeScript's node types.
std::string_view table_name(const tree_grammar& grammar) {
    return grammar.name == "tsx" ? std::string_view("ts") : grammar.name;
}

std::string_view separator_of(std::string_view grammar) {
    return grammar == "rust" ? "::" : ".";
}

TSNode field(TSNode node, std::string_view name) {
    return ts_node_child_by_field_name(node, name.data(), static_cast<std::uint32_t>(name.size()));
}

// A type as a qualifier: without the generic arguments (`Stack<T>` is `Stack`) and pointers.
std::string bare_type(std::string_view text) {
    std::string name;
    int depth = 0;
    for (const char c : text) {
        if (c == '<' || c == '[') ++depth;
        if (depth == 0 && c != '*' && c != '&' && c != ' ') name += c;
        if ((c == '>' || c == ']') && depth > 0) --depth;
    }
    return name;
}

bool is_function_value(TSNode value) {
    if (ts_node_is_null(value)) return false;
    const std::string_view type = ts_node_type(value);
    return type == "arrow_function" || type == "function_expression" ||
           type == "generator_function";
}

// The statement a listed function stands in: marking it whole charts the function's body.
TSNode whole_statement(TSNode node) {
    for (TSNode parent = ts_node_parent(node); !ts_node_is_null(parent);
         parent = ts_node_parent(parent)) {
        const std::string_view type = ts_node_type(parent);
        if (type != "lexical_declaration" && type != "variable_declaration" &&
            type != "export_statement") {
            break;
        }
        node = parent;
    }
    return node;
}

int last_line_of(TSNode node) {
    const TSPoint start = ts_node_start_point(node);
    const TSPoint end = ts_node_end_point(node);
    // A node that ends with its line break ends on the line before.
    if (end.column == 0 && end.row > start.row) return static_cast<int>(end.row);
    return static_cast<int>(end.row) + 1;
}

// Whether only blanks stand before a node on its line.
bool first_on_its_line(TSNode node, std::string_view text) {
    for (std::uint32_t i = ts_node_start_byte(node); i > 0; --i) {
        const char c = text[i - 1];
        if (c == '\n') return true;
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

struct body_lines {
    int begin;
    int end;
};

// The lines of a function's statements: the lines of an indented block, the lines between the
// braces of a braced one. Marked, they chart as the body they are. A body that has no line
// of its own gives the lines of the whole statement.
body_lines lines_of_body(TSNode function, TSNode whole, std::string_view text) {
    const body_lines all{static_cast<int>(ts_node_start_point(whole).row) + 1, last_line_of(whole)};
    TSNode body = field(function, "body");
    if (ts_node_is_null(body)) {
        const TSNode value = field(function, "value");
        if (!ts_node_is_null(value)) body = field(value, "body");
    }
    if (ts_node_is_null(body) || ts_node_child_count(body) == 0) return all;
    const TSNode open = ts_node_child(body, 0);
    const TSNode close = ts_node_child(body, ts_node_child_count(body) - 1);
    body_lines lines{};
    if (ts_node_type(open) == std::string_view("{") && !ts_node_is_named(open)) {
        if (ts_node_type(close) != std::string_view("}")) return all;
        lines.begin = static_cast<int>(ts_node_start_point(open).row) + 2;
        lines.end = static_cast<int>(ts_node_start_point(close).row) +
                    (first_on_its_line(close, text) ? 0 : 1);
    } else if (ts_node_type(body) == std::string_view("block")) {
        lines.begin = static_cast<int>(ts_node_start_point(body).row) + 1;
        lines.end = last_line_of(body);
    } else {
        // An arrow function's body that is one expression, `=> ({ ... })`.
        return all;
    }
    return lines.begin <= lines.end ? lines : all;
}

}  // namespace

void TTreeProcLexer::execute() {
    const std::string_view grammar_name = table_name(grammar_);
    const std::string_view separator = separator_of(grammar_name);
    const std::string& text = source_text();
    syntax_tree_parser parser(grammar_);
    const syntax_tree tree = parser.parse(text);
    if (!tree) {
        fail("the text could not be read");
        return;
    }

    // One cursor over the whole tree: a node's children are reached without counting through
    // their elder siblings, and nesting in the text never deepens the call stack. The qualifier
    // at the back names what the siblings of the current node belong to.
    TSTreeCursor cursor = ts_tree_cursor_new(ts_tree_root_node(tree.get()));
    std::vector<std::string> qualifiers{std::string()};
    for (std::uint32_t visited = 0;; ++visited) {
        // The clock is read now and then: reading it for every node costs more than the scan.
        if (visited % 1024 == 0 && budget_exceeded()) break;
        const TSNode node = ts_tree_cursor_current_node(&cursor);
        std::string inner = qualifiers.back();
        if (ts_node_is_named(node)) inner = examine(node, text, grammar_name, separator, inner);
        if (ts_tree_cursor_goto_first_child(&cursor)) {
            qualifiers.push_back(std::move(inner));
            continue;
        }
        bool more = true;
        while (more && !ts_tree_cursor_goto_next_sibling(&cursor)) {
            more = ts_tree_cursor_goto_parent(&cursor);
            if (more) qualifiers.pop_back();
        }
        if (!more) break;
    }
    ts_tree_cursor_delete(&cursor);
}

std::string TTreeProcLexer::examine(TSNode node, std::string_view text,
                                    std::string_view grammar_name, std::string_view separator,
                                    const std::string& qualifier) {
    const std::string_view type = ts_node_type(node);
    for (const function_node& kind : function_nodes) {
        if (kind.grammar != grammar_name || kind.type != type) continue;
        const TSNode name_node = field(node, kind.name_field);
        if (ts_node_is_null(name_node)) break;
        std::string name = bare_type(node_text(name_node, text));
        if (kind.as == found_as::container) return qualifier + name + std::string(separator);
        if (kind.as == found_as::bound && !is_function_value(field(node, "value"))) break;
        if (type == "method_declaration") {
            // Go: the receiver's type qualifies the method, `(r *Reader) Read` is Reader.Read.
            const TSNode receiver = field(node, "receiver");
            const TSNode parameter =
                ts_node_is_null(receiver) ? TSNode{} : ts_node_named_child(receiver, 0);
            const TSNode receiver_type =
                ts_node_is_null(parameter) ? TSNode{} : field(parameter, "type");
            if (!ts_node_is_null(receiver_type)) {
                name = bare_type(node_text(receiver_type, text)) + "." + name;
            }
        }
        const bool constructor =
            (grammar_name == "python" && name == "__init__" && !qualifier.empty()) ||
            (grammar_name == "ts" && type == "method_definition" && name == "constructor");
        const body_lines lines = lines_of_body(node, whole_statement(node), text);
        append_result(static_cast<int>(ts_node_start_point(name_node).row) + 1, lines.begin,
                      lines.end, constructor ? tag_constructor : tag_function, qualifier + name);
        return qualifier + name + std::string(separator);
    }
    return qualifier;
}

}  // namespace tarnwell
