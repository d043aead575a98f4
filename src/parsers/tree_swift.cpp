#include "parsers/tree_swift.h"

extern "C" const TSLanguage* tree_sitter_swift();

namespace tarnwell {

namespace {

using enum tree_role;

// Swift's grammar sets the braces of a block beside its statements, in the construct itself:
// a body is the statements after the construct's "{".
constexpr tree_rule rules[] = {
    {"source_file", sequence},
    // The members of a class are read as a sequence only when a member is marked alone.
    {"class_body", sequence},
    {"statements", sequence},
    {"function_body", sequence},
    {"comment", comment},
    {"multiline_comment", comment},
    {"if_statement", if_, {}, {}, "{"},
    // An else is a keyword alone; its branch is the conditional or the block after it.
    {"else", else_},
    {"guard_statement", guard, {}, {}, "{"},
    {"switch_statement", switch_},
    {"switch_entry", default_, {}, {}, ":", false, {}, "default"},
    // The one attribute a case takes: `@unknown default:`.
    {"switch_entry", default_, {}, {}, ":", false, {}, "@"},
    {"switch_entry", case_, {}, {}, ":"},
    {"for_statement", for_, {}, {}, "{"},
    {"while_statement", while_, {}, {}, "{"},
    {"repeat_while_statement", do_while, {}, {}, "{"},
    {"do_statement", try_},
    {"catch_block", handler, {}, {}, "{"},
    {"statement_label", label},
    {"control_transfer_statement", return_, {}, {}, {}, false, {}, "return"},
    {"control_transfer_statement", break_, {}, {}, {}, false, {}, "break"},
    {"control_transfer_statement", continue_, {}, {}, {}, false, {}, "continue"},
    {"control_transfer_statement", throw_, {}, {}, {}, false, {}, "throw"},
    // A case that falls through jumps into the next one.
    {"simple_identifier", goto_, {}, {}, {}, false, {}, "fallthrough"},
    {"function_declaration", definition, "body", {}, {}, true},
    {"init_declaration", definition, "body", {}, {}, true},
    {"deinit_declaration", definition, "body", {}, {}, true},
    // A deinitializer marked alone reads as a call outside a class.
    {"call_expression", misread, {}, {}, {}, false, {}, "deinit"},
    {"class_declaration", definition},
    {"protocol_declaration", definition},
};

// A body marked alone is read as the body of a function, a deinitializer as a member of a class.
constexpr tree_framing framings[] = {{"", ""}, {"func _() {\n", "\n}"}, {"class _ {\n", "\n}"}};

}  // namespace

const tree_grammar& swift_grammar() {
    static const tree_grammar grammar{"swift", tree_sitter_swift, rules, framings};
    return grammar;
}

}  // namespace tarnwell
