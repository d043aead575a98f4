#include "parsers/tree_lua.h"

extern "C" const TSLanguage* tree_sitter_lua();

namespace tarnwell {

namespace {

using enum tree_role;

constexpr tree_rule rules[] = {
    {"chunk", sequence},
    {"block", sequence},
    {"comment", comment},
    {"function_declaration", definition, "body", {}, {}, true},
};

constexpr tree_framing framings[] = {{"", ""}, {"function _()\n", "\nend"}};

}  // namespace

const tree_grammar& lua_grammar() {
    static const tree_grammar grammar{"lua", tree_sitter_lua, rules, framings};
    return grammar;
}

}  // namespace tarnwell
