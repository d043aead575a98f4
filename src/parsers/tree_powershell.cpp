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
    {"comment", comment},
    {"function_statement", definition, {}, {}, {}, true},
};

constexpr tree_framing framings[] = {{"", ""}, {"function _ {\n", "\n}"}};

}  // namespace

const tree_grammar& powershell_grammar() {
    static const tree_grammar grammar{"powershell", tree_sitter_powershell, rules, framings};
    return grammar;
}

}  // namespace tarnwell
