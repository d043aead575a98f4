#include "parsers/tree_typescript.h"

extern "C" const TSLanguage* tree_sitter_typescript();
extern "C" const TSLanguage* tree_sitter_tsx();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"program", sequence},
    {"statement_block", sequence},
    // A method marked alone is read inside a class; its body is what is charted.
    {"class_body", sequence},
    // So is a method of an object literal, whose last line may carry the comma after it.
    {"object", sequence},
    {"comment", comment},
    // A method's decorators stand before it in the class body.
    {"decorator", decorator},
    {"if_statement", if_, "consequence", "alternative"},
    {"else_clause", else_},
    {"for_statement", for_, "body"},
    {"for_in_statement", for_, "body"},
    {"while_statement", while_, "body"},
    {"do_statement", do_while, "body"},
    {"switch_statement", switch_, "body"},
    {"switch_case", case_, {}, {}, ":"},
    {"switch_default", default_, {}, {}, ":"},
    {"try_statement", try_},
    {"catch_clause", handler, "body"},
    {"finally_clause", finally_, "body"},
    {"labeled_statement", labeled},
    {"return_statement", return_},
    {"break_statement", break_},
    {"continue_statement", continue_},
    {"throw_statement", throw_},
    {"function_declaration", definition, "body", {}, {}, true},
    {"generator_function_declaration", definition, "body", {}, {}, true},
    {"method_definition", definition, "body", {}, {}, true},
    {"export_statement", definition, "declaration", {}, {}, true},
    // `const f = (x) => { ... }` marked alone charts the arrow function's body; as a statement
    // among others it stays plain code.
    {"lexical_declaration", code, {}, {}, {}, true},
    {"variable_declaration", code, {}, {}, {}, true},
    {"variable_declarator", code, "value", {}, {}, true},
    {"public_field_definition", code, "value", {}, {}, true},
    // A class field holding an arrow function, marked alone, parses as an assignment.
    {"expression_statement", code, {}, {}, {}, true},
    {"assignment_expression", code, "right", {}, {}, true},
    {"arrow_function", code, "body", {}, {}, true},
    {"function_expression", code, "body", {}, {}, true},
    {"class_declaration", definition},
    {"abstract_class_declaration", definition},
    {"interface_declaration", definition},
    {"enum_declaration", definition},
    {"type_alias_declaration", definition},
    {"module", definition},
    {"internal_module", definition},
};

constexpr tree_framing framings[] = {{"", ""}, {"class _ {\n", "\n}"}, {"({\n", "\n})"}};

}  // namespace

const tree_grammar& typescript_grammar() {
    static const tree_grammar grammar{"ts", tree_sitter_typescript, rules, framings};
    return grammar;
}

const tree_grammar& tsx_grammar() {
    static const tree_grammar grammar{"tsx", tree_sitter_tsx, rules, framings};
    return grammar;
}

}  // namespace tarnwell
