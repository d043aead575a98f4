#include "parsers/tree_ruby.h"

extern "C" const TSLanguage* tree_sitter_ruby();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"program", sequence},
    {"body_statement", sequence},
    {"comment", comment},
    {"method", definition, "body", {}, {}, true},
    {"singleton_method", definition, "body", {}, {}, true},
    {"class", definition},
    {"module", definition},
};

constexpr tree_framing framings[] = {{"", ""}, {"def _\n", "\nend"}};

}  // namespace

const tree_grammar& ruby_grammar() {
    static const tree_grammar grammar{"ruby", tree_sitter_ruby, rules, framings};
    return grammar;
}

}  // namespace tarnwell
