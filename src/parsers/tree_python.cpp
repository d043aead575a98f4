#include "parsers/tree_python.h"

extern "C" const TSLanguage* tree_sitter_python();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"module", sequence},
    {"block", sequence},
    {"comment", comment},
    {"if_statement", if_, "consequence", "alternative"},
    {"elif_clause", else_if, "consequence"},
    {"else_clause", else_, "body"},
    // A loop's `else:` runs when the loop ends without break.
    {"for_statement", for_, "body", "alternative"},
    {"while_statement", while_, "body", "alternative"},
    {"try_statement", try_},
    {"except_clause", handler},
    {"except_group_clause", handler},
    {"finally_clause", finally_},
    {"with_statement", inline_body, "body"},
    {"match_statement", switch_, "body"},
    {"case_clause", case_, {}, {}, ":"},
    {"return_statement", return_},
    {"raise_statement", throw_},
    {"break_statement", break_},
    {"continue_statement", continue_},
    {"function_definition", definition, "body", {}, {}, true},
    {"decorated_definition", definition, "definition", {}, {}, true},
    {"class_definition", definition},
};

// A body marked alone is indented; under `if 1:` it is the block it was in its function.
constexpr tree_framing framings[] = {{"", ""}, {"if 1:\n", ""}};

}  // namespace

const tree_grammar& python_grammar() {
    static const tree_grammar grammar{"python", tree_sitter_python, rules, framings};
    return grammar;
}

}  // namespace tarnwell
