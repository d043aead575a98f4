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
    {"function_definition", definition, "body", {}, {}, true},
    {"class_definition", definition},
    {"object_definition", definition},
    {"trait_definition", definition},
};

constexpr tree_framing framings[] = {{"", ""}, {"def _ = {\n", "\n}"}};

}  // namespace

const tree_grammar& scala_grammar() {
    static const tree_grammar grammar{"scala", tree_sitter_scala, rules, framings};
    return grammar;
}

}  // namespace tarnwell
