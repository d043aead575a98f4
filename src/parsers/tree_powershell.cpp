#include "parsers/tree_powershell.h"

extern "C" const TSLanguage* tree_sitter_powershell();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"program", sequence},
    {"statement_list", sequence},
    {"statement_block", sequence},
    {"script_block", sequence},
    {"script_block_body", sequence},
    {"named_block_list", sequence},
    {"catch_clauses", sequence},
    {"comment", comment},
    // The branch taken is the block after the condition's parenthesis; the else-ifs and the
    // else follow it.
    {"if_statement", if_, {}, {}, ")"},
    {"elseif_clauses", else_list},
    {"elseif_clause", else_if, {}, {}, ")"},
    {"else_clause", else_},
    {"while_statement", while_},
    {"for_statement", for_},
    {"foreach_statement", for_},
    // `do { } while (c)`: the block before the test is the body. The test, the last part of
    // the loop, is passed over where the body is looked for; it stays part of a `while`'s
    // header.
    {"do_statement", do_until, {}, {}, {}, false, "*", "until"},
    {"do_statement", do_until, {}, {}, {}, false, "*", "Until"},
    {"do_statement", do_while},
    {"while_condition", comment},
    // The cases of `switch -regex (x) { ... }` stand in a list of their own in its body.
    {"switch_statement", switch_},
    {"switch_body", sequence},
    {"switch_clauses", sequence},
    {"switch_clause", default_, {}, {}, {}, false, {}, "default"},
    {"switch_clause", default_, {}, {}, {}, false, {}, "Default"},
    {"switch_clause", case_},
    {"try_statement", try_},
    {"catch_clause", handler},
    {"finally_clause", finally_},
    // A trap handles what is raised anywhere in its scope: a handler standing where it is
    // written.
    {"trap_statement", handler},
    {"label", label},
    // break, continue, return, throw and exit share one node type; their keyword tells them
    // apart. Keywords are read in any case; scripts write them in lower case or capitalised.
    {"flow_control_statement", break_, {}, {}, {}, false, {}, "break"},
    {"flow_control_statement", break_, {}, {}, {}, false, {}, "Break"},
    {"flow_control_statement", continue_, {}, {}, {}, false, {}, "continue"},
    {"flow_control_statement", continue_, {}, {}, {}, false, {}, "Continue"},
    {"flow_control_statement", return_, {}, {}, {}, false, {}, "return"},
    {"flow_control_statement", return_, {}, {}, {}, false, {}, "Return"},
    {"flow_control_statement", throw_, {}, {}, {}, false, {}, "throw"},
    {"flow_control_statement", throw_, {}, {}, {}, false, {}, "Throw"},
    {"flow_control_statement", throw_, {}, {}, {}, false, {}, "exit"},
    {"flow_control_statement", throw_, {}, {}, {}, false, {}, "Exit"},
    // A function's `process` block runs once for each object of its input: a loop. Its
    // `begin` and `end` blocks run once, their statements in the sequence.
    {"named_block", for_, {}, {}, {}, false, {}, "process"},
    {"named_block", for_, {}, {}, {}, false, {}, "Process"},
    {"named_block", inline_body},
    {"function_statement", definition, {}, {}, {}, true},
    {"class_method_definition", definition, {}, {}, {}, true},
    // A class is the sequence of its members; a method marked alone is found in it under the
    // class framing, its name passed over.
    {"class_statement", sequence},
    {"simple_name", comment},
    {"enum_statement", definition},
};

// A method or constructor marked alone reads as one only in a class; a text that is no member
// of one is read as the body of a function. The root of a script holds its statements in a
// list, so a function marked whole is found, and its body charted, only inside a block.
constexpr tree_framing framings[] = {{"class _ {\n", "\n}"}, {"function _ {\n", "\n}"}, {"", ""}};

}  // namespace

const tree_grammar& powershell_grammar() {
    static const tree_grammar grammar{"powershell", tree_sitter_powershell, rules, framings};
    return grammar;
}

}  // namespace tarnwell
