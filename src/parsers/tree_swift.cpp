#include "parsers/tree_swift.h"

extern "C" const TSLanguage* tree_sitter_swift();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"source_file", sequence},
    {"statements", sequence},
    {"comment", comment},
    {"multiline_comment", comment},
    {"function_declaration", definition, "body", {}, {}, true},
    {"class_declaration", definition},
    {"protocol_declaration", definition},
};

constexpr tree_framing framings[] = {{"", ""}, {"func _() {\n", "\n}"}};

}  // namespace

const tree_grammar& swift_grammar() {
    static const tree_grammar grammar{"swift", tree_sitter_swift, rules, framings};
    return grammar;
}

}  // namespace tarnwell
