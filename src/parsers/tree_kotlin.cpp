#include "parsers/tree_kotlin.h"

extern "C" const TSLanguage* tree_sitter_kotlin();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"source_file", sequence},
    {"block", sequence},
    // A function's body is its block or the one expression after `=`: a block is charted as
    // its statements, from the first one after its brace; an expression that is a construct is
    // charted as it.
    {"function_body", code, {}, {}, {}, true},
    {"line_comment", comment},
    {"block_comment", comment},
    // The grammar gives an `if` no field for its branches: the branch taken is what follows
    // the condition's `)`, the other what follows the keyword `else` among its children.
    {"if_expression", if_, {}, {}, ")"},
    {"else", else_},
    {"when_expression", switch_},
    {"when_entry", default_, {}, {}, "->", false, {}, "else"},
    {"when_entry", case_, {}, {}, "->"},
    // A loop's body is its last part; a label written before the loop is part of its header.
    {"for_statement", for_},
    {"while_statement", while_},
    // The body is what stands between `do` and `while`.
    {"do_while_statement", do_while, {}, {}, "do"},
    {"try_expression", try_},
    {"catch_block", handler},
    {"finally_block", finally_},
    // `return@label` is a return too.
    {"return_expression", return_},
    {"throw_expression", throw_},
    // The grammar reads `break` and `continue` as names, and `break@outer` as the label
    // `break@` set before the name `outer`.
    {"identifier", break_, {}, {}, {}, false, {}, "break"},
    {"identifier", continue_, {}, {}, {}, false, {}, "continue"},
    {"labeled_expression", break_, {}, {}, {}, false, {}, "break@"},
    {"labeled_expression", continue_, {}, {}, {}, false, {}, "continue@"},
    {"labeled_expression", labeled},
    {"function_declaration", definition, {}, {}, {}, true},
    {"secondary_constructor", definition},
    {"anonymous_initializer", definition},
    {"class_declaration", definition},
    {"object_declaration", definition},
    {"companion_object", definition},
};

// A body marked alone is read as the body of a function.
constexpr tree_framing framings[] = {{"", ""}, {"fun _() {\n", "\n}"}};

}  // namespace

const tree_grammar& kotlin_grammar() {
    static const tree_grammar grammar{"kotlin", tree_sitter_kotlin, rules, framings};
    return grammar;
}

}  // namespace tarnwell
