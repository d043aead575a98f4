#include "parsers/tree_lua.h"

extern "C" const TSLanguage* tree_sitter_lua();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"chunk", sequence},
    {"block", sequence},
    // `do ... end` only opens a scope: its statements stand in the sequence around it.
    {"do_statement", inline_body, "body"},
    {"comment", comment},
    {"hash_bang_line", comment},
    {"if_statement", if_, "consequence", "alternative"},
    {"elseif_statement", else_if, "consequence"},
    {"else_statement", else_, "body"},
    {"while_statement", while_, "body"},
    // `repeat ... until c` runs its body before the test.
    {"repeat_statement", do_until, "body"},
    // Numeric and generic `for` alike.
    {"for_statement", for_, "body"},
    {"label_statement", label},
    {"goto_statement", goto_},
    {"break_statement", break_},
    {"return_statement", return_},
    // `function f() ... end` and `local function f() ... end`.
    {"function_declaration", definition, "body", {}, {}, true},
    // `local f = function() ... end` and `M.f = function() ... end`, marked alone, chart the
    // function's body; among other statements they stay plain code.
    {"variable_declaration", code, {}, {}, {}, true},
    {"assignment_statement", code, {}, {}, {}, true},
    {"expression_list", code, {}, {}, {}, true},
    {"function_definition", code, "body", {}, {}, true},
};

// A body marked alone is read as the body of a function, where `...` and a last `return`
// stand as they do in it.
constexpr tree_framing framings[] = {{"", ""}, {"function _()\n", "\nend"}};

}  // namespace

const tree_grammar& lua_grammar() {
    static const tree_grammar grammar{"lua", tree_sitter_lua, rules, framings};
    return grammar;
}

}  // namespace tarnwell
