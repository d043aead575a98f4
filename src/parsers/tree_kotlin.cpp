#include "parsers/tree_kotlin.h"

extern "C" const TSLanguage* tree_sitter_kotlin();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"source_file", sequence},
    {"block", sequence},
    {"statements", sequence},
    {"line_comment", comment},
    {"block_comment", comment},
    {"function_declaration", definition, "body", {}, {}, true},
    {"class_declaration", definition},
    {"object_declaration", definition},
};

constexpr tree_framing framings[] = {{"", ""}, {"fun _() {\n", "\n}"}};

}  // namespace

const tree_grammar& kotlin_grammar() {
    static const tree_grammar grammar{"kotlin", tree_sitter_kotlin, rules, framings};
    return grammar;
}

}  // namespace tarnwell
