#include "parsers/tree_go.h"

extern "C" const TSLanguage* tree_sitter_go();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"source_file", sequence},
    {"block", sequence},
    {"statement_list", sequence},
    {"comment", comment},
    // The alternative is an `if` or a block standing alone.
    {"if_statement", if_, "consequence", "alternative"},
    // The four forms of `for`: clauses, condition, range and none.
    {"for_statement", for_, "body"},
    {"expression_switch_statement", switch_},
    {"type_switch_statement", switch_},
    {"select_statement", switch_},
    {"expression_case", case_, {}, {}, ":"},
    {"type_case", case_, {}, {}, ":"},
    {"communication_case", case_, {}, {}, ":"},
    {"default_case", default_, {}, {}, ":"},
    {"labeled_statement", labeled},
    {"return_statement", return_},
    {"break_statement", break_},
    {"continue_statement", continue_},
    {"goto_statement", goto_},
    // Go's cases end by themselves; fallthrough jumps into the next one.
    {"fallthrough_statement", goto_},
    {"function_declaration", definition, "body", {}, {}, true},
    {"method_declaration", definition, "body", {}, {}, true},
};

// A body marked alone is read as the body of a function.
constexpr tree_framing framings[] = {{"", ""}, {"func _() {\n", "\n}"}};

}  // namespace

const tree_grammar& go_grammar() {
    static const tree_grammar grammar{"go", tree_sitter_go, rules, framings};
    return grammar;
}

}  // namespace tarnwell
