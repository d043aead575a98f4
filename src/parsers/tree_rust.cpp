#include "parsers/tree_rust.h"

extern "C" const TSLanguage* tree_sitter_rust();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"source_file", sequence},
    {"block", sequence},
    {"line_comment", comment},
    {"block_comment", comment},
    // Control flow in Rust is made of expressions; a statement of one is charted as it.
    {"expression_statement", wrapper},
    {"if_expression", if_, "consequence", "alternative"},
    {"else_clause", else_},
    // `let PATTERN = VALUE else { ... }`: the block runs when the pattern does not match. A
    // `let` without `else` has no body and stays a plain statement.
    {"let_declaration", if_, "alternative"},
    {"match_expression", switch_, "body"},
    {"match_arm", case_, {}, {}, "=>"},
    {"loop_expression", while_, "body"},
    {"while_expression", while_, "body"},
    {"for_expression", for_, "body"},
    {"return_expression", return_},
    {"break_expression", break_},
    {"continue_expression", continue_},
    {"unsafe_block", inline_body},
    {"function_item", definition, "body", {}, {}, true},
    {"impl_item", definition},
    {"trait_item", definition},
    {"struct_item", definition},
    {"enum_item", definition},
    {"mod_item", definition},
    {"closure_expression", definition},
};

// A body marked alone is read as the body of a function, where its last expression may stand
// without a semicolon.
constexpr tree_framing framings[] = {{"", ""}, {"fn _() {\n", "\n}"}};

}  // namespace

const tree_grammar& rust_grammar() {
    static const tree_grammar grammar{"rust", tree_sitter_rust, rules, framings};
    return grammar;
}

}  // namespace tarnwell
