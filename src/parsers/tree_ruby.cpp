#include "parsers/tree_ruby.h"

extern "C" const TSLanguage* tree_sitter_ruby();

namespace tarnwell {

namespace {

using enum tree_role;

// A call with a block reads as a loop when the method it calls is one that repeats the block:
// `loop do ... end` until a break, `n.times`, the `each` family, the counted steps and `scan`
// over the matches of a pattern. Calls that build a value from their block (`map`, `select`) stay
// plain code, as do these names called without a block.
constexpr tree_rule iteration(std::string_view method) {
    return {"call", for_, "block.body", {}, {}, false, "method", method};
}

constexpr tree_rule rules[] = {
    {"program", sequence},
    {"body_statement", sequence},
    {"block_body", sequence},
    {"then", sequence},
    {"do", sequence},
    {"comment", comment},
    {"if", if_, "consequence", "alternative"},
    // The body of `unless` runs when its condition fails: the chart shows it on that branch.
    {"unless", guard, "consequence", "alternative"},
    {"elsif", else_if, "consequence", "alternative"},
    {"else", else_, {}, {}, "else"},
    // The modifier forms: the body stands before its condition.
    {"if_modifier", if_, "body"},
    {"unless_modifier", guard, "body"},
    // `begin ... end while c` runs its body before the first test.
    {"while_modifier", do_while, "body", {}, {}, false, {}, "begin"},
    {"while_modifier", while_, "body"},
    {"until_modifier", do_until, "body", {}, {}, false, {}, "begin"},
    {"until_modifier", until_, "body"},
    {"while", while_, "body"},
    {"until", until_, "body"},
    {"for", for_, "body"},
    {"call", while_, "block.body", {}, {}, false, "method", "loop"},
    iteration("each"),
    iteration("each_with_index"),
    iteration("each_with_object"),
    iteration("each_pair"),
    iteration("each_key"),
    iteration("each_value"),
    iteration("each_line"),
    iteration("each_char"),
    iteration("each_byte"),
    iteration("each_slice"),
    iteration("each_cons"),
    iteration("each_index"),
    iteration("reverse_each"),
    iteration("times"),
    iteration("upto"),
    iteration("downto"),
    iteration("step"),
    iteration("scan"),
    // Raising, throwing and leaving the program, with arguments or without.
    {"call", throw_, {}, {}, {}, false, "method", "raise"},
    {"call", throw_, {}, {}, {}, false, "method", "fail"},
    {"call", throw_, {}, {}, {}, false, "method", "throw"},
    {"call", throw_, {}, {}, {}, false, "method", "exit"},
    {"call", throw_, {}, {}, {}, false, "method", "exit!"},
    {"call", throw_, {}, {}, {}, false, "method", "abort"},
    // A `rescue` or `ensure` of a method's body marked alone, read as a program: the body
    // framed as a method reads them as they are.
    {"call", misread, {}, {}, {}, false, "method", "rescue"},
    {"call", misread, {}, {}, {}, false, "method", "ensure"},
    {"identifier", misread, {}, {}, {}, false, {}, "rescue"},
    {"identifier", misread, {}, {}, {}, false, {}, "ensure"},
    {"identifier", throw_, {}, {}, {}, false, {}, "raise"},
    {"identifier", throw_, {}, {}, {}, false, {}, "fail"},
    {"identifier", throw_, {}, {}, {}, false, {}, "exit"},
    {"identifier", throw_, {}, {}, {}, false, {}, "abort"},
    {"case", switch_},
    {"case_match", switch_},
    {"when", case_, "body"},
    {"in_clause", case_, "body"},
    {"begin", try_},
    {"rescue", handler, "body"},
    {"ensure", finally_, {}, {}, "ensure"},
    {"return", return_},
    {"break", break_},
    {"next", continue_},
    // `redo` runs the loop's body again without the test, `retry` the protected block again.
    {"redo", continue_},
    {"retry", goto_},
    {"method", definition, "body", {}, {}, true},
    // A method marked with the visibility that is called with it: `private def name`.
    {"call", code, "arguments", {}, {}, true, "method", "private"},
    {"call", code, "arguments", {}, {}, true, "method", "protected"},
    {"call", code, "arguments", {}, {}, true, "method", "public"},
    {"argument_list", code, {}, {}, {}, true},
    {"singleton_method", definition, "body", {}, {}, true},
    {"class", definition},
    {"singleton_class", definition},
    {"module", definition},
};

// A body marked alone is read as the body of a method.
constexpr tree_framing framings[] = {{"", ""}, {"def _\n", "\nend"}};

}  // namespace

const tree_grammar& ruby_grammar() {
    static const tree_grammar grammar{"ruby", tree_sitter_ruby, rules, framings};
    return grammar;
}

}  // namespace tarnwell
