#include "parsers/tree_scala.h"

extern "C" const TSLanguage* tree_sitter_scala();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"compilation_unit", sequence},
    {"block", sequence},
    {"indented_block", sequence},
    {"comment", comment},
    {"block_comment", comment},
    // The branches of `if (c) a else b` and of `if c then` with indented blocks alike.
    {"if_expression", if_, "consequence", "alternative"},
    {"match_expression", switch_, "body"},
    {"case_clause", case_, {}, {}, "=>"},
    // The cases of a `catch { ... }` select the handler by the exception's pattern.
    {"case_block", switch_},
    {"for_expression", for_, "body"},
    {"while_expression", while_, "body"},
    {"do_while_expression", do_while, "body"},
    {"try_expression", try_},
    // `catch { case ... }`, or Scala 3's `catch case e: E => ...` with its one case's body.
    {"catch_clause", handler},
    {"finally_clause", finally_},
    {"return_expression", return_},
    {"throw_expression", throw_},
    {"function_definition", definition, "body", {}, {}, true},
    {"class_definition", definition},
    {"object_definition", definition},
    {"trait_definition", definition},
    {"enum_definition", definition},
    {"given_definition", definition},
    {"extension_definition", definition},
};

// A body marked alone is read as the body of a function.
constexpr tree_framing framings[] = {{"", ""}, {"def _ = {\n", "\n}"}};

}  // namespace

const tree_grammar& scala_grammar() {
    static const tree_grammar grammar{"scala", tree_sitter_scala, rules, framings};
    return grammar;
}

}  // namespace tarnwell
