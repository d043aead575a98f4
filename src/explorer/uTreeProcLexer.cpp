#include "explorer/uTreeProcLexer.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/tree_pieces.h"
#include "parsers/tree_syntax.h"

namespace tarnwell {

namespace {

enum class found_as {
    function,   // a function or method
    bound,      // a name bound to a value: listed when the value is a function
    class_,     // a class: qualifies what it holds, and its constructor is one
    container,  // an impl, trait, module or namespace: qualifies what it holds
};

struct definition_kind {
    std::string_view grammar;
    std::string_view type;
    found_as as;
    // The field that names it; for a Rust impl the type it is for, also in `impl Trait for T`.
    std::string_view name_field;
    // For a grammar that gives the name no field (PowerShell), the type of the child that is it.
    std::string_view name_type = {};
};

// The node types that define functions and the scopes that qualify their names, per grammar.
constexpr definition_kind definition_kinds[] = {
    {"python", "function_definition", found_as::function, "name"},
    {"python", "class_definition", found_as::class_, "name"},
    {"ts", "function_declaration", found_as::function, "name"},
    {"ts", "generator_function_declaration", found_as::function, "name"},
    {"ts", "method_definition", found_as::function, "name"},
    {"ts", "variable_declarator", found_as::bound, "name"},
    {"ts", "public_field_definition", found_as::bound, "name"},
    {"ts", "class_declaration", found_as::class_, "name"},
    {"ts", "abstract_class_declaration", found_as::class_, "name"},
    {"ts", "class", found_as::class_, "name"},
    {"ts", "internal_module", found_as::container, "name"},
    {"ts", "module", found_as::container, "name"},
    {"go", "function_declaration", found_as::function, "name"},
    {"go", "method_declaration", found_as::function, "name"},
    {"rust", "function_item", found_as::function, "name"},
    {"rust", "impl_item", found_as::container, "type"},
    {"rust", "trait_item", found_as::container, "name"},
    {"rust", "mod_item", found_as::container, "name"},
    {"kotlin", "function_declaration", found_as::function, "name"},
    {"kotlin", "class_declaration", found_as::class_, "name"},
    {"kotlin", "object_declaration", found_as::class_, "name"},
    {"kotlin", "companion_object", found_as::class_, "name"},
    {"swift", "function_declaration", found_as::function, "name"},
    {"swift", "init_declaration", found_as::function, "name"},
    {"swift", "class_declaration", found_as::class_, "name"},
    {"swift", "protocol_declaration", found_as::class_, "name"},
    {"ruby", "method", found_as::function, "name"},
    {"ruby", "singleton_method", found_as::function, "name"},
    {"ruby", "class", found_as::class_, "name"},
    {"ruby", "module", found_as::container, "name"},
    {"scala", "function_definition", found_as::function, "name"},
    {"scala", "class_definition", found_as::class_, "name"},
    {"scala", "object_definition", found_as::class_, "name"},
    {"scala", "trait_definition", found_as::class_, "name"},
    {"scala", "enum_definition", found_as::class_, "name"},
    {"lua", "function_declaration", found_as::function, "name"},
    {"bash", "function_definition", found_as::function, "name"},
    {"powershell", "function_statement", found_as::function, {}, "function_name"},
    {"powershell", "class_statement", found_as::class_, {}, "simple_name"},
    {"powershell", "class_method_definition", found_as::function, {}, "simple_name"},
};

// Where a function can stand, for the grammars whose functions stand only among statements,
// never inside an expression: the walk enters these and no other node, which saves it most of
// the tree. Other grammars are walked whole.
struct enclosing_type {
    std::string_view grammar;
    std::string_view type;
};
constexpr std::string_view grammars_walked_in_part[] = {"python", "go"};
constexpr enclosing_type enclosing_types[] = {
    {"python", "module"},
    {"python", "block"},
    {"python", "class_definition"},
    {"python", "function_definition"},
    {"python", "decorated_definition"},
    {"python", "if_statement"},
    {"python", "elif_clause"},
    {"python", "else_clause"},
    {"python", "for_statement"},
    {"python", "while_statement"},
    {"python", "try_statement"},
    {"python", "except_clause"},
    {"python", "finally_clause"},
    {"python", "with_statement"},
    {"python", "match_statement"},
    {"python", "case_clause"},
    {"go", "source_file"},
};

// The values that make a bound name a function.
constexpr std::string_view function_values[] = {"arrow_function", "function_expression",
                                                "generator_function"};

// The declarations a bound function stands in: marked whole they chart its body.
constexpr std::string_view binding_statements[] = {"lexical_declaration", "variable_declaration",
                                                   "export_statement"};

// The constructor's name, per grammar.
struct constructor_name {
    std::string_view grammar;
    std::string_view name;
};
constexpr constructor_name constructor_names[] = {
    {"python", "__init__"}, {"ts", "constructor"}, {"swift", "init"}, {"ruby", "initialize"}};

// A type wrapped in these stands for the type it wraps, as the qualifier of a method.
constexpr std::string_view wrapping_types[] = {"generic_type", "pointer_type", "reference_type"};

template <std::size_t N>
bool is_one_of(std::string_view type, const std::string_view (&types)[N]) {
    for (const std::string_view t : types) {
        if (t == type) return true;
    }
    return false;
}

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

// The type of a node; none for a missing one.
std::string_view type_of(TSNode node) {
    return ts_node_is_null(node) ? std::string_view() : std::string_view(ts_node_type(node));
}

// A name on one line, as a result line needs it: runs of blanks and line breaks become one space.
std::string one_line(std::string_view text) {
    std::string line;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

// The name a node gives: a quoted module name without its quotes, a type without its generic
// arguments, pointer or reference (`Stack<T>`, `*Reader` and `&'a Map<K>` name `Stack`,
// `Reader` and `Map`).
std::string name_of(TSNode name, std::string_view text) {
    // A type wraps another a few levels deep at most; the bound keeps a broken tree harmless.
    for (int depth = 0; depth < 16 && is_one_of(ts_node_type(name), wrapping_types); ++depth) {
        TSNode inner = field(name, "type");
        if (ts_node_is_null(inner)) inner = ts_node_named_child(name, 0);
        if (ts_node_is_null(inner)) break;
        name = inner;
    }
    std::string_view spelled = node_text(name, text);
    if (ts_node_type(name) == std::string_view("string") && spelled.size() >= 2) {
        spelled = spelled.substr(1, spelled.size() - 2);
    }
    return one_line(spelled);
}

// The node that names a definition: its name field, else its first child of the name's type.
TSNode name_node_of(TSNode node, const definition_kind& kind) {
    if (kind.name_type.empty()) return field(node, kind.name_field);
    const std::uint32_t count = ts_node_named_child_count(node);
    for (std::uint32_t i = 0; i < count; ++i) {
        const TSNode child = ts_node_named_child(node, i);
        if (ts_node_type(child) == kind.name_type) return child;
    }
    return TSNode{};
}

// The type of a Go method's receiver, `(r *Reader)` gives the `*Reader` node.
TSNode receiver_type(TSNode method) {
    const TSNode receiver = field(method, "receiver");
    if (ts_node_is_null(receiver)) return receiver;
    const TSNode parameter = ts_node_named_child(receiver, 0);
    return ts_node_is_null(parameter) ? parameter : field(parameter, "type");
}

// What a listed function's lines cover: a bound function's declaration, else the definition.
TSNode whole_definition(TSNode node, found_as as) {
    if (as != found_as::bound) return node;
    for (TSNode parent = ts_node_parent(node);
         !ts_node_is_null(parent) && is_one_of(ts_node_type(parent), binding_statements);
         parent = ts_node_parent(parent)) {
        node = parent;
    }
    return node;
}

// The first line of a definition after its decorators, 1-based.
int first_line_of(TSNode node) {
    const std::uint32_t count = ts_node_child_count(node);
    for (std::uint32_t i = 0; i < count; ++i) {
        const TSNode child = ts_node_child(node, i);
        if (ts_node_type(child) != std::string_view("decorator")) {
            return static_cast<int>(ts_node_start_point(child).row) + 1;
        }
    }
    return static_cast<int>(ts_node_start_point(node).row) + 1;
}

// The last token of a node that holds a character and is no comment: a grammar that reads
// blocks by their indentation lets a block run on over the blank lines, comments and
// indentation that follow it, up to the next line's first token.
TSNode last_code_token(TSNode node) {
    for (std::uint32_t i = ts_node_child_count(node); i > 0;) {
        const TSNode child = ts_node_child(node, --i);
        if (ts_node_is_extra(child) || ts_node_start_byte(child) == ts_node_end_byte(child)) {
            continue;
        }
        node = child;
        i = ts_node_child_count(node);
    }
    return node;
}

// The last line of a definition, 1-based: the line of its last token.
int last_line_of(TSNode node) {
    const TSNode last = last_code_token(node);
    const TSPoint start = ts_node_start_point(last);
    const TSPoint end = ts_node_end_point(last);
    // A token that ends with its line break ends on the line before.
    if (end.column == 0 && end.row > start.row) return static_cast<int>(end.row);
    return static_cast<int>(end.row) + 1;
}

// The scope the nodes being walked stand in.
struct scope {
    // The names that qualify a function defined here, each with its separator.
    std::string qualifier;
    bool class_body = false;
};

// The walk of one tree.
class function_finder {
  public:
    function_finder(const tree_grammar& grammar, std::string_view text)
        : grammar_(table_name(grammar)), separator_(separator_of(grammar_)), text_(text) {
        // Looked up by symbol: comparing every node's type with the table would cost more
        // than the walk.
        const TSLanguage* language = grammar.language();
        by_symbol_.assign(ts_language_symbol_count(language), nullptr);
        for (const definition_kind& kind : definition_kinds) {
            if (kind.grammar != grammar_) continue;
            const TSSymbol symbol = ts_language_symbol_for_name(
                language, kind.type.data(), static_cast<std::uint32_t>(kind.type.size()), true);
            if (symbol != 0 && symbol < by_symbol_.size()) by_symbol_[symbol] = &kind;
        }
        const bool in_part = is_one_of(grammar_, grammars_walked_in_part);
        entered_.assign(by_symbol_.size(), !in_part);
        for (const enclosing_type& enclosing : enclosing_types) {
            if (enclosing.grammar != grammar_) continue;
            const TSSymbol symbol = ts_language_symbol_for_name(
                language, enclosing.type.data(), static_cast<std::uint32_t>(enclosing.type.size()),
                true);
            if (symbol != 0 && symbol < entered_.size()) entered_[symbol] = true;
        }
    }

    // Whether a function can stand inside a node. A broken stretch of text can hold anything.
    bool enters(TSNode node) const {
        if (ts_node_is_error(node)) return true;
        const TSSymbol symbol = ts_node_symbol(node);
        return symbol >= entered_.size() || entered_[symbol];
    }

    // Lists `node` when it defines a function; gives the scope of its children when it is
    // not the scope `outer` of the node itself.
    template <typename Report>
    std::optional<scope> examine(TSNode node, const scope& outer, Report&& report) const {
        const definition_kind* kind = kind_of(node);
        if (kind == nullptr) return std::nullopt;
        const TSNode name_node = name_node_of(node, *kind);
        if (kind->as == found_as::class_ || kind->as == found_as::container) {
            // An anonymous class adds no name, but its constructor is still one.
            std::string qualifier = outer.qualifier;
            if (!ts_node_is_null(name_node)) {
                qualifier += name_of(name_node, text_);
                qualifier += separator_;
            }
            return scope{std::move(qualifier), kind->as == found_as::class_};
        }
        if (ts_node_is_null(name_node)) return scope{outer.qualifier, false};
        if (kind->as == found_as::bound) {
            const std::string_view value = type_of(field(node, "value"));
            // A name bound to an anonymous class names its methods.
            if (value == "class") {
                return scope{outer.qualifier + name_of(name_node, text_) + std::string(separator_),
                             false};
            }
            if (!is_one_of(value, function_values)) return scope{outer.qualifier, false};
        }
        std::string name = outer.qualifier;
        if (const TSNode receiver = receiver_type(node); !ts_node_is_null(receiver)) {
            name += name_of(receiver, text_);
            name += separator_;
        }
        const std::string own_name = name_of(name_node, text_);
        name += own_name;
        const TSNode whole = whole_definition(node, kind->as);
        report(static_cast<int>(ts_node_start_point(name_node).row) + 1, first_line_of(whole),
               last_line_of(whole), constructor(outer, own_name) ? tag_constructor : tag_function,
               name);
        return scope{name + std::string(separator_), false};
    }

  private:
    const definition_kind* kind_of(TSNode node) const {
        if (!ts_node_is_named(node)) return nullptr;
        const TSSymbol symbol = ts_node_symbol(node);
        return symbol < by_symbol_.size() ? by_symbol_[symbol] : nullptr;
    }

    bool constructor(const scope& outer, std::string_view name) const {
        if (!outer.class_body) return false;
        for (const constructor_name& c : constructor_names) {
            if (c.grammar == grammar_ && c.name == name) return true;
        }
        return false;
    }

    std::string_view grammar_;
    std::string_view separator_;
    std::string_view text_;
    std::vector<const definition_kind*> by_symbol_;
    // Whether the walk enters a node of a symbol.
    std::vector<bool> entered_;
};

// A function the walk of one piece found, its lines counted in the whole text.
struct found_function {
    int declaration;
    int begin;
    int end;
    std::string_view tag;
    std::string name;
};

// Walks one tree with one cursor: a node's children are reached without counting through their
// elder siblings, and nesting in the text never deepens the call stack. Every scope met is
// kept; `open` holds the one the current node's siblings stand in at each level. `stop` is
// asked now and then whether to give up.
template <typename Report, typename Stop>
void walk_tree(const TSTree& tree, const function_finder& finder, Report&& report, Stop&& stop) {
    TSTreeCursor cursor = ts_tree_cursor_new(ts_tree_root_node(&tree));
    std::vector<scope> scopes{scope{}};
    std::vector<std::size_t> open{0};
    for (std::uint32_t visited = 0;; ++visited) {
        // The clock is read now and then: reading it for every node costs more than the scan.
        if (visited % 1024 == 0 && stop()) break;
        const TSNode node = ts_tree_cursor_current_node(&cursor);
        std::optional<scope> inner = finder.examine(node, scopes[open.back()], report);
        if (finder.enters(node) && ts_tree_cursor_goto_first_child(&cursor)) {
            if (inner) scopes.push_back(std::move(*inner));
            open.push_back(inner ? scopes.size() - 1 : open.back());
            continue;
        }
        bool more = true;
        while (more && !ts_tree_cursor_goto_next_sibling(&cursor)) {
            more = ts_tree_cursor_goto_parent(&cursor);
            if (more) open.pop_back();
        }
        if (!more) break;
    }
    ts_tree_cursor_delete(&cursor);
}

// The functions of one piece of a long text, parsed and walked on a thread of its own; empty
// with `clean` false when the piece does not parse without an error.
struct piece_listing {
    bool clean = false;
    std::vector<found_function> functions;
};

// The last token of a tree, an empty one too. Unlike `last_leaf` it takes the tokens a grammar
// lets stand anywhere as well: Ruby's heredoc body is one.
TSNode last_leaf_of(TSNode node) {
    for (std::uint32_t count = ts_node_child_count(node); count > 0;
         count = ts_node_child_count(node)) {
        node = ts_node_child(node, count - 1);
    }
    return node;
}

// `followed` is whether another piece comes after this one.
piece_listing list_piece(const tree_grammar& grammar, const text_piece& piece, bool followed) {
    piece_listing listing;
    syntax_tree_parser parser(grammar);
    const syntax_tree tree = parser.parse(piece.text);
    if (!tree || ts_node_has_error(ts_tree_root_node(tree.get()))) return listing;
    if (followed && ts_node_end_byte(last_leaf_of(ts_tree_root_node(tree.get()))) >
                        start_of_closing_empty_line(piece.text)) {
        return listing;
    }
    listing.clean = true;
    const function_finder finder(grammar, piece.text);
    const int rows = piece.first_row;
    walk_tree(
        *tree, finder,
        [&](int declaration, int begin, int end, std::string_view tag, const std::string& name) {
            listing.functions.push_back({declaration + rows, begin + rows, end + rows, tag, name});
        },
        [] { return false; });
    return listing;
}

// Texts shorter than this parse in well under the time a thread takes to pay for itself.
constexpr std::size_t shortest_piece = 32 * 1024;

}  // namespace

// A long text is parsed in pieces on all cores, as the parse is nearly all of the time the list
// takes; the pieces' walks are short, so they run without the budget. When any piece parses with
// an error the text is listed whole, as a short one is.
bool TTreeProcLexer::list_in_pieces(const std::string& text) {
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    const std::size_t count = std::min(cores, text.size() / shortest_piece);
    if (count < 2) return false;
    const std::vector<text_piece> pieces = cut_into_pieces(text, count);
    if (pieces.size() < 2) return false;
    std::vector<std::future<piece_listing>> listings;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        listings.push_back(std::async(std::launch::async, list_piece, std::cref(grammar_),
                                      std::cref(pieces[k]), k + 1 < pieces.size()));
    }
    std::vector<piece_listing> done{list_piece(grammar_, pieces.front(), true)};
    for (std::future<piece_listing>& listing : listings) done.push_back(listing.get());
    for (const piece_listing& listing : done) {
        if (!listing.clean) return false;
    }
    for (const piece_listing& listing : done) {
        for (const found_function& f : listing.functions) {
            append_result(f.declaration, f.begin, f.end, f.tag, f.name);
        }
    }
    return true;
}

void TTreeProcLexer::execute() {
    const std::string& text = source_text();
    if (list_in_pieces(text)) return;
    syntax_tree_parser parser(grammar_);
    const syntax_tree tree = parser.parse(text);
    if (!tree) {
        fail("the text could not be read");
        return;
    }
    const function_finder finder(grammar_, text);
    walk_tree(
        *tree, finder,
        [this](int declaration, int begin, int end, std::string_view tag, const std::string& name) {
            append_result(declaration, begin, end, tag, name);
        },
        [this] { return budget_exceeded(); });
}

}  // namespace tarnwell
