#include "parsers/tree_bash.h"

extern "C" const TSLanguage* tree_sitter_bash();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"program", sequence},
    {"compound_statement", sequence},
    {"comment", comment},
    {"function_definition", definition, "body", {}, {}, true},
};

constexpr tree_framing framings[] = {{"", ""}, {"_() {\n", "\n}"}};

}  // namespace

const tree_grammar& bash_grammar() {
    static const tree_grammar grammar{"bash", tree_sitter_bash, rules, framings};
    return grammar;
}

}  // namespace tarnwell
