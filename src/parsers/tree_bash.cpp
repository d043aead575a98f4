#include "parsers/tree_bash.h"

extern "C" const TSLanguage* tree_sitter_bash();

namespace tarnwell {

namespace {

using enum tree_role;

// The branches of Bash's `if` are no blocks: their statements stand in the construct between
// `then` and the next `elif`, `else` or `fi`.
constexpr tree_rule rules[] = {
    {"program", sequence},
    {"compound_statement", sequence},
    {"do_group", sequence},
    {"comment", comment},
    {"if_statement", if_, {}, {}, "then"},
    {"elif_clause", else_if, {}, {}, "then"},
    {"else_clause", else_, {}, {}, "else"},
    {"while_statement", until_, "body", {}, {}, false, {}, "until"},
    {"while_statement", while_, "body"},
    {"for_statement", for_, "body"},
    {"c_style_for_statement", for_, "body"},
    {"case_statement", switch_},
    {"case_item", case_, {}, {}, ")"},
    // A loop or a block with its input or output sent elsewhere is charted as itself.
    {"redirected_statement", wrapper, "body"},
    // Bash's jumps are commands like any other, known by their names.
    {"command", return_, {}, {}, {}, false, "name", "return"},
    {"command", break_, {}, {}, {}, false, "name", "break"},
    {"command", continue_, {}, {}, {}, false, "name", "continue"},
    {"command", throw_, {}, {}, {}, false, "name", "exit"},
    {"function_definition", definition, "body", {}, {}, true},
};

// A body marked alone is read as the body of a function. A function marked with the line it
// ends on may leave a list open (`} &&` before the next line's `complete`): a command closes
// it.
constexpr tree_framing framings[] = {{"", ""}, {"_() {\n", "\n}"}, {"", " :"}};

}  // namespace

const tree_grammar& bash_grammar() {
    static const tree_grammar grammar{"bash", tree_sitter_bash, rules, framings};
    return grammar;
}

}  // namespace tarnwell
